#include "platform/heap.h"

#include <cstdlib>
#include <cstring>

namespace velmar::platform {
namespace {

// Negative: no failure is being simulated.
long allocationsLeft = -1;
long allocationsRefused = 0;

bool grantAllocation() {
  if (allocationsLeft < 0) return true;
  if (allocationsLeft == 0) {
    ++allocationsRefused;
    return false;
  }
  --allocationsLeft;
  return true;
}

}  // namespace

void* heapAllocate(std::size_t size) {
  if (!grantAllocation()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

void* heapAllocateZeroed(std::size_t size) {
  if (!grantAllocation()) return nullptr;
  return std::calloc(size == 0 ? 1 : size, 1);
}

void* heapResize(void* block, std::size_t newSize) {
  if (!grantAllocation()) return nullptr;
  return std::realloc(block, newSize == 0 ? 1 : newSize);
}

void* heapResizeZeroed(void* block, std::size_t oldSize, std::size_t newSize) {
  // realloc grows a large block in place where it can (mremap), so a text that grows step by
  // step is never copied over and over.
  void* resized = heapResize(block, newSize);
  if (resized != nullptr && newSize > oldSize) {
    std::memset(static_cast<char*>(resized) + oldSize, 0, newSize - oldSize);
  }
  return resized;
}

void* heapShrink(void* block, std::size_t newSize) {
  // Giving memory back is not an allocation: the failure seam leaves it alone.
  void* shrunk = std::realloc(block, newSize == 0 ? 1 : newSize);
  return shrunk != nullptr ? shrunk : block;
}

void heapFree(void* block) { std::free(block); }

HeapFailureScope::HeapFailureScope(long allowedAllocations) {
  allocationsLeft = allowedAllocations < 0 ? 0 : allowedAllocations;
  allocationsRefused = 0;
}

HeapFailureScope::~HeapFailureScope() { allocationsLeft = -1; }

long HeapFailureScope::refusedCount() const { return allocationsRefused; }

}  // namespace velmar::platform
