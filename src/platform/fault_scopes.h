#pragma once
// For the tests only; the program does not include this. A scope that makes the book file's
// steps fail on cue, so a test can watch the program cope. The counters are process-wide, and
// scopes do not nest. (The heap's counterpart is the tests' own: tests/common/heap_failure_scope.h.)

#include "platform/output_seam.h"

namespace velmar::platform {

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
