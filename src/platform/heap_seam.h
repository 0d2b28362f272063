#pragma once
// For the heap implementations only: the failure seam behind HeapFailureScope.

namespace velmar::platform {

// Counts one allocation or growing resize; false when the seam refuses it.
bool grantHeapAllocation();

}  // namespace velmar::platform
