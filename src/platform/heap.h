#pragma once
// The process heap of this program: every dynamic block of the reader (the text accumulator,
// the record storage, the field strings and the XML parser's own memory) comes from here. The
// tests' variant of the library is built with a heap of its own in place of the system's, one
// that refuses allocations on cue (tests/common/failing_heap.cpp).

#include <cstddef>

namespace velmar::platform {

// A block of `size` bytes, uninitialised; null when memory runs out.
void* heapAllocate(std::size_t size);

// Resizes `block` (or allocates when it is null) to `newSize` bytes, keeping its content.
// Null when memory runs out; the old block is then untouched and still owned by the caller.
void* heapResize(void* block, std::size_t newSize);

// Returns a block to the heap; null is ignored.
void heapFree(void* block);

// Large blocks, for storage that grows to megabytes: the record and field stores and a long
// text. A large block is zero-filled; where the system allows, its pages are taken only as they
// are first touched, so a block's unused tail costs no memory. Every large block is freed with
// heapFreeLarge and its present size.

// A zero-filled block of `size` bytes; null when memory runs out.
void* heapAllocateLarge(std::size_t size);

// Resizes a large block of `oldSize` bytes to `newSize`; it may move, and the bytes past
// `oldSize` are zero. Growing returns null when memory runs out, the old block then untouched;
// shrinking never fails (at worst the block stays as it was, and is still freed by its new size).
void* heapResizeLarge(void* block, std::size_t oldSize, std::size_t newSize);

// Returns a large block of `size` bytes to the system; null is ignored.
void heapFreeLarge(void* block, std::size_t size);

// Makes the pages holding the `size` bytes at `at`, inside a large block, present now, in one
// call rather than one page fault each when they are first written (see PagesAhead). Only a
// hint: it does nothing where the system has no such call, and the bytes stay as they were.
void heapMakePagesPresent(void* at, std::size_t size);

}  // namespace velmar::platform
