#pragma once
// For OutputFile only: the failure seam behind OutputFaultScope.

#include "platform/output_file.h"

namespace velmar::platform {

// Counts one occurrence of `step`; true when the seam fails it.
bool outputStepFails(OutputStep step);

}  // namespace velmar::platform
