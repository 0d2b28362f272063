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

void* heapAllocateZeroed(std::size_t size) { return std::calloc(atLeastOne(size), 1); }

// The C library maps a block of megabytes on pages of its own, grown by remapping, not copying.
void* heapResize(void* block, std::size_t newSize) {
  return std::realloc(block, atLeastOne(newSize));
}

void heapFree(void* block) { std::free(block); }

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
