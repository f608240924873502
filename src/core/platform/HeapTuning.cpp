#include "core/platform/HeapTuning.h"

// Any C library header defines __GLIBC__ there; without one first, the test
// below is always false and the tuning silently never happens.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    constexpr int kTrimThreshold = 256 << 20;
    constexpr int kMapThreshold = 32 << 20;
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
#endif
}
