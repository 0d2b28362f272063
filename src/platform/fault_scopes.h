#pragma once
// For the tests and the fuzz target only; the program does not include this. Scopes that make
// the program's own allocations or book-file steps fail on cue, so a test can watch the program
// cope. The counters are process-wide, and scopes do not nest.

#include "platform/output_seam.h"

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

// While an instance lives, the given occurrence (counted from 1) of `step` (output_seam.h) fails as the system
// call would.
class OutputFaultScope {
 public:
  OutputFaultScope(OutputStep step, long occurrence);
  ~OutputFaultScope();
  OutputFaultScope(const OutputFaultScope&) = delete;
  OutputFaultScope& operator=(const OutputFaultScope&) = delete;
};

}  // namespace velmar::platform
