#include "platform/heap.h"

#include <windows.h>

#include "platform/heap_seam.h"

namespace velmar::platform {

// Every block comes from the process heap. HeapReAlloc takes no null block, so a resize of
// nothing is an allocation.

void* heapAllocate(std::size_t size) {
  if (!grantHeapAllocation()) return nullptr;
  return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
}

void* heapResize(void* block, std::size_t newSize) {
  if (!grantHeapAllocation()) return nullptr;
  if (block == nullptr) return HeapAlloc(GetProcessHeap(), 0, newSize == 0 ? 1 : newSize);
  return HeapReAlloc(GetProcessHeap(), 0, block, newSize == 0 ? 1 : newSize);
}

void heapFree(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

// Large blocks come from the same heap; HeapReAlloc may move a block to grow it, which the
// stores allow for (they grow geometrically, so the copies add up to linear time).

void* heapAllocateLarge(std::size_t size) {
  if (!grantHeapAllocation()) return nullptr;
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size == 0 ? 1 : size);
}

void* heapResizeLarge(void* block, std::size_t oldSize, std::size_t newSize) {
  if (block == nullptr) return heapAllocateLarge(newSize);
  if (newSize <= oldSize) {
    // Giving memory back is not an allocation: the failure seam leaves it alone.
    void* shrunk = HeapReAlloc(GetProcessHeap(), 0, block, newSize == 0 ? 1 : newSize);
    return shrunk != nullptr ? shrunk : block;
  }
  if (!grantHeapAllocation()) return nullptr;
  // The heap zero-fills whatever a resize adds.
  return HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, block, newSize);
}

void heapFreeLarge(void* block, std::size_t /*size*/) { heapFree(block); }

// Heap blocks are committed when they are allocated.
void heapMakePagesPresent(void* /*at*/, std::size_t /*size*/) {}

}  // namespace velmar::platform
