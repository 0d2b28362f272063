// The heap (platform/heap.h) of the tests' variant of the library, in place of the system's:
// the C library's, refusing allocations and resizes while a HeapFailureScope says so. Making
// pages present is only a hint, and is left out here (the program's own heap does it, and
// pages_ahead_test.cpp tests it there).

#include <cstdlib>

#include "heap_failure_scope.h"
#include "platform/heap.h"

namespace velmar::platform {
namespace {

// Negative: no failure is being simulated.
long allocationsLeft = -1;
long allocationsRefused = 0;

// Counts one allocation or resize; false when the scope refuses it.
bool granted() {
  if (allocationsLeft < 0) return true;
  if (allocationsLeft == 0) {
    ++allocationsRefused;
    return false;
  }
  --allocationsLeft;
  return true;
}

std::size_t atLeastOne(std::size_t size) { return size == 0 ? 1 : size; }

}  // namespace

void* heapAllocate(std::size_t size) { return granted() ? std::malloc(atLeastOne(size)) : nullptr; }

void* heapAllocateLarge(std::size_t size) {
  return granted() ? std::calloc(atLeastOne(size), 1) : nullptr;
}

// Giving memory back is not an allocation: the scope leaves shrinking alone.
void* heapResizeLarge(void* block, std::size_t oldSize, std::size_t newSize) {
  return newSize <= oldSize || granted() ? std::realloc(block, atLeastOne(newSize)) : nullptr;
}

void* heapResize(void* block, std::size_t newSize) {
  return granted() ? std::realloc(block, atLeastOne(newSize)) : nullptr;
}

void heapFree(void* block) { std::free(block); }

void heapFreeLarge(void* block, std::size_t /*size*/) { std::free(block); }

void heapMakePagesPresent(void* /*at*/, std::size_t /*size*/) {}

HeapFailureScope::HeapFailureScope(long allowedAllocations) {
  allocationsLeft = allowedAllocations < 0 ? 0 : allowedAllocations;
  allocationsRefused = 0;
}

HeapFailureScope::~HeapFailureScope() { allocationsLeft = -1; }

long HeapFailureScope::refusedCount() const { return allocationsRefused; }

}  // namespace velmar::platform
