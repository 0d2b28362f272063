#pragma once
// For the book file's primitives only: the hook through which a test's OutputFaultScope
// (fault_scopes.h) fails a step as the system call would.

namespace velmar::platform {

// The steps of writing a book that can be made to fail.
enum class OutputStep { Write, Sync, Close, Rename };

// Counts one occurrence of `step`; true when the seam fails it.
bool outputStepFails(OutputStep step);

}  // namespace velmar::platform
