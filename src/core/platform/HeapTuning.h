#pragma once

// Lets the C library keep freed memory for reuse instead of handing it back
// to the system at once. A long report frees and allocates page buffers
// thousands of times; each fresh page of memory costs a fault, which made
// ten years of lists several times slower to print.
void KeepFreedMemoryForReuse();
