#pragma once
// A standard-library allocator over the program heap, so the record storage and the field
// strings run out of memory exactly where the rest of the reader does (and tests can make them).

#include <cstddef>
#include <new>

#include "platform/heap.h"

namespace velmar::platform {

template <typename T>
struct HeapAllocator {
  using value_type = T;

  HeapAllocator() noexcept = default;
  template <typename U>
  HeapAllocator(const HeapAllocator<U>& /*other*/) noexcept {}

  // T is a pointer where a container keeps a map of blocks (std::deque does), and sizeof(T) is
  // then rightly the size of a pointer.
  T* allocate(std::size_t count) {
    // NOLINTNEXTLINE(bugprone-sizeof-expression)
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* block = heapAllocate(count * sizeof(T));  // NOLINT(bugprone-sizeof-expression)
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }

  void deallocate(T* block, std::size_t /*count*/) noexcept { heapFree(block); }

  template <typename U>
  bool operator==(const HeapAllocator<U>& /*other*/) const noexcept {
    return true;
  }
  template <typename U>
  bool operator!=(const HeapAllocator<U>& /*other*/) const noexcept {
    return false;
  }
};

}  // namespace velmar::platform
