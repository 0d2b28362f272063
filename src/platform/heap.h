#pragma once
// The process heap of this program: every dynamic block of the reader (the text accumulator,
// the record storage, the field strings and the XML parser's own memory) comes from here. The
// tests' variant of the library is built with a heap of its own in place of the system's, one
// that refuses allocations on cue (tests/common/failing_heap.cpp).

#include <cstddef>

namespace velmar::platform {

// A block of `size` bytes, uninitialised; null when memory runs out. The pages of a block of
// megabytes are taken only as they are first touched, so its unused tail costs no memory.
void* heapAllocate(std::size_t size);

// The same, zero-filled.
void* heapAllocateZeroed(std::size_t size);

// Resizes `block` (or allocates when it is null) to `newSize` bytes, keeping its content.
// Null when memory runs out; the old block is then untouched and still owned by the caller.
void* heapResize(void* block, std::size_t newSize);

// Returns a block to the heap; null is ignored.
void heapFree(void* block);

// Makes the pages holding the `size` bytes at `at`, inside a block, present now, in one call
// rather than one page fault each when they are first written (see PagesAhead). Only a hint: it
// does nothing where the system has no such call, and the bytes stay as they were.
void heapMakePagesPresent(void* at, std::size_t size);

}  // namespace velmar::platform
