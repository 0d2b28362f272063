#pragma once
// For the tests and the fuzz targets, whose variant of the library is built with the heap of
// failing_heap.cpp in place of the system's: the program's own allocations fail on cue, so a
// test can watch the program cope. The counters are process-wide, and scopes do not nest.

namespace velmar::platform {

// While an instance lives, the heap (heap.h) grants `allowedAllocations` more allocations or
// resizes and refuses every one after that.
class HeapFailureScope {
 public:
  explicit HeapFailureScope(long allowedAllocations);
  ~HeapFailureScope();
  HeapFailureScope(const HeapFailureScope&) = delete;
  HeapFailureScope& operator=(const HeapFailureScope&) = delete;

  // How many allocations were refused so far.
  long refusedCount() const;
};

}  // namespace velmar::platform
