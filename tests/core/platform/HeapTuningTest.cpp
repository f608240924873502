#include "core/platform/Platform.h"

#include <cstdlib>

#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// A block of a few megabytes, like the PDF writer's per-page buffers, must come
// from the heap that keeps freed memory, not from a fresh mapping each time.
TEST(HeapTuningTest, ABlockOfMegabytesComesFromTheReusedHeap)
{
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "only the C library's own allocator is tuned";
#else
    KeepFreedMemoryForReuse();
    const auto mappedBefore = mallinfo2().hblks;
    auto* block = static_cast<volatile char*>(std::malloc(16 << 20));
    ASSERT_NE(block, nullptr);
    block[0] = 1;
    const auto mappedAfter = mallinfo2().hblks;
    std::free(const_cast<char*>(block));
    EXPECT_EQ(mappedAfter, mappedBefore);
#endif
}
