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

// The C library's heap maps a block of megabytes as pages of its own, which grow by remapping
// rather than by copying.

void* heapAllocate(std::size_t size) { return std::malloc(atLeastOne(size)); }

void* heapAllocateZeroed(std::size_t size) { return std::calloc(atLeastOne(size), 1); }

void* heapResize(void* block, std::size_t newSize) {
  return std::realloc(block, atLeastOne(newSize));
}

void heapFree(void* block) { std::free(block); }

void heapMakePagesPresent(void* at, std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
  // The call wants a page-aligned start, and only makes pages present: the page holding `at`,
  // mapped as the block is, may hold other bytes too. A kernel older than the call (Linux
  // 5.14) refuses it, and the pages then come one fault at a time as before.
  static const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::size_t intoPage = reinterpret_cast<std::uintptr_t>(at) % pageSize;
  static_cast<void>(
      madvise(static_cast<char*>(at) - intoPage, size + intoPage, MADV_POPULATE_WRITE));
#else
  static_cast<void>(at);
  static_cast<void>(size);
#endif
}

}  // namespace velmar::platform
