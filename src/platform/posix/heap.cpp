#include "platform/heap.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

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

// Not from the C library's heap: it serves a text's first steps from its own pages, which stay
// resident once the text has outgrown them.
void* heapAllocateLarge(std::size_t size) {
  void* block = mmap(nullptr, atLeastOne(size), PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
}

void* heapResizeLarge(void* block, std::size_t oldSize, std::size_t newSize) {
  void* resized = mremap(block, atLeastOne(oldSize), atLeastOne(newSize), MREMAP_MAYMOVE);
  return resized == MAP_FAILED ? nullptr : resized;
}

void heapFreeLarge(void* block, std::size_t size) {
  if (block != nullptr) static_cast<void>(munmap(block, atLeastOne(size)));
}

void heapMakePagesPresent([[maybe_unused]] void* at, [[maybe_unused]] std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
  // The call wants a page-aligned start, and the page holding `at` may hold other bytes, which
  // it keeps. A kernel before Linux 5.14 refuses it: the pages then come one fault at a time.
  static const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::size_t intoPage = reinterpret_cast<std::uintptr_t>(at) % pageSize;
  static_cast<void>(
      madvise(static_cast<char*>(at) - intoPage, size + intoPage, MADV_POPULATE_WRITE));
#endif
}

}  // namespace velmar::platform
