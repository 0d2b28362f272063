#include "platform/heap.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

// Under AddressSanitizer large blocks come from the C library's heap, which it watches; mapped
// pages would hide an overrun from it.
#if defined(__SANITIZE_ADDRESS__)
#define VELMAR_LARGE_BLOCKS_FROM_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMAR_LARGE_BLOCKS_FROM_MALLOC 1
#endif
#endif

namespace velmar::platform {
namespace {

// No block is empty: a size of 0 takes one byte.
std::size_t atLeastOne(std::size_t size) { return size == 0 ? 1 : size; }

}  // namespace

void* heapAllocate(std::size_t size) { return std::malloc(atLeastOne(size)); }

void* heapResize(void* block, std::size_t newSize) {
  return std::realloc(block, atLeastOne(newSize));
}

void heapFree(void* block) { std::free(block); }

#if defined(VELMAR_LARGE_BLOCKS_FROM_MALLOC)

void* heapAllocateLarge(std::size_t size) { return std::calloc(atLeastOne(size), 1); }

void* heapResizeLarge(void* block, std::size_t oldSize, std::size_t newSize) {
  if (newSize <= oldSize) {
    void* shrunk = std::realloc(block, atLeastOne(newSize));
    return shrunk != nullptr ? shrunk : block;
  }
  void* resized = heapResize(block, newSize);
  if (resized != nullptr) std::memset(static_cast<char*>(resized) + oldSize, 0, newSize - oldSize);
  return resized;
}

void heapFreeLarge(void* block, std::size_t /*size*/) { heapFree(block); }

void heapMakePagesPresent(void* /*at*/, std::size_t /*size*/) {}

#else

void* heapAllocateLarge(std::size_t size) {
  // Anonymous pages are zero, and cost nothing until touched.
  void* block = mmap(nullptr, atLeastOne(size), PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
}

void* heapResizeLarge(void* block, std::size_t oldSize, std::size_t newSize) {
  if (block == nullptr) return heapAllocateLarge(newSize);
  newSize = atLeastOne(newSize);
  const bool growing = newSize > oldSize;
  // The kernel moves the pages, never their bytes, and the new ones are zero: growth is cheap
  // however large the block.
  void* resized = mremap(block, atLeastOne(oldSize), newSize, MREMAP_MAYMOVE);
  if (resized == MAP_FAILED) return growing ? nullptr : block;
  return resized;
}

void heapFreeLarge(void* block, std::size_t size) {
  if (block != nullptr) static_cast<void>(munmap(block, atLeastOne(size)));
}

void heapMakePagesPresent(void* at, std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
  // The call wants a page-aligned start; the page holding `at` is within the block too. A
  // kernel older than the call (Linux 5.14) refuses it, and the pages then come one fault at a
  // time as before.
  static const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::size_t intoPage = reinterpret_cast<std::uintptr_t>(at) % pageSize;
  static_cast<void>(
      madvise(static_cast<char*>(at) - intoPage, size + intoPage, MADV_POPULATE_WRITE));
#else
  static_cast<void>(at);
  static_cast<void>(size);
#endif
}

#endif

}  // namespace velmar::platform
