#pragma once
// The heap every dynamic block of the reader comes from (the text accumulator, the stores and
// the parser's own memory). The tests' variant of the library has one in its place that refuses
// allocations on cue (tests/common/failing_heap.cpp).

#include <cstddef>

namespace velmar::platform {

// A block of `size` bytes, uninitialised; null when memory runs out. The pages of a block of
// megabytes are taken only as they are first touched, so its unused tail costs no memory.
void* heapAllocate(std::size_t size);


// Resizes `block` (or allocates when it is null) to `newSize` bytes, keeping its content.
// Null when memory runs out; the old block is then untouched and still owned by the caller.
void* heapResize(void* block, std::size_t newSize);

// Returns a block to the heap; null is ignored.
void heapFree(void* block);

// Blocks that grow to megabytes: the stores' and a long text's. Zero-filled; on POSIX pages of
// their own, which a resize moves rather than copies and which a block outgrown does not leave
// resident. Resized (null when that fails, the block untouched) and freed with their present
// size.
void* heapAllocateLarge(std::size_t size);
void* heapResizeLarge(void* block, std::size_t oldSize, std::size_t newSize);
void heapFreeLarge(void* block, std::size_t size);

// A hint: makes the pages of the `size` bytes at `at`, inside a block, present in one call
// rather than a page fault each (see PagesAhead). The bytes stay as they were.
void heapMakePagesPresent(void* at, std::size_t size);

}  // namespace velmar::platform
