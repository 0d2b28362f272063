#include "platform/heap.h"

#include <windows.h>

namespace velmar::platform {
namespace {

// No block is empty: a size of 0 takes one byte.
std::size_t atLeastOne(std::size_t size) { return size == 0 ? 1 : size; }

}  // namespace

void* heapAllocate(std::size_t size) { return HeapAlloc(GetProcessHeap(), 0, atLeastOne(size)); }

void* heapResize(void* block, std::size_t newSize) {
  // HeapReAlloc takes no null block.
  if (block == nullptr) return heapAllocate(newSize);
  return HeapReAlloc(GetProcessHeap(), 0, block, atLeastOne(newSize));
}

void heapFree(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void* heapAllocateLarge(std::size_t size) {
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, atLeastOne(size));
}

void* heapResizeLarge(void* block, std::size_t /*oldSize*/, std::size_t newSize) {
  return heapResize(block, newSize);
}

void heapFreeLarge(void* block, std::size_t /*size*/) { heapFree(block); }

// Heap blocks are committed when they are allocated.
void heapMakePagesPresent(void* /*at*/, std::size_t /*size*/) {}

}  // namespace velmar::platform
