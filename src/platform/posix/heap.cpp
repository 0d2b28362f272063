#include "platform/heap.h"

#include <cstdlib>
#include <cstring>

#include "platform/heap_seam.h"

namespace velmar::platform {

void* heapAllocate(std::size_t size) {
  if (!grantHeapAllocation()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

void* heapAllocateZeroed(std::size_t size) {
  if (!grantHeapAllocation()) return nullptr;
  return std::calloc(size == 0 ? 1 : size, 1);
}

void* heapResize(void* block, std::size_t newSize) {
  if (!grantHeapAllocation()) return nullptr;
  return std::realloc(block, newSize == 0 ? 1 : newSize);
}

void* heapResizeZeroed(void* block, std::size_t oldSize, std::size_t newSize) {
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

}  // namespace velmar::platform
