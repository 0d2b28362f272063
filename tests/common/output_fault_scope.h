#pragma once
// For the tests and the fuzz targets, whose variant of the library is built with the system
// calls of failing_system_calls_*.cpp in place of the system's: the book file's steps fail on
// cue, as the system call would, so a test can watch the program cope. The counters are
// process-wide, and scopes do not nest.

namespace velmar::platform {

// The steps of writing a book that can be made to fail.
enum class OutputStep { Write, Sync, Close, Rename };

// While an instance lives, `times` occurrences of `step` from the given one on (counted from 1)
// fail.
class OutputFaultScope {
 public:
  OutputFaultScope(OutputStep step, long occurrence, long times = 1);
  ~OutputFaultScope();
  OutputFaultScope(const OutputFaultScope&) = delete;
  OutputFaultScope& operator=(const OutputFaultScope&) = delete;
};

// For the failing system calls: counts one occurrence of `step`; true when it is to fail.
bool outputStepFails(OutputStep step);

}  // namespace velmar::platform
