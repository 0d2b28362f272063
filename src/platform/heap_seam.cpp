#include "platform/heap_seam.h"

#include "platform/fault_scopes.h"

namespace velmar::platform {
namespace {

// Negative: no failure is being simulated.
long allocationsLeft = -1;
long allocationsRefused = 0;

}  // namespace

bool grantHeapAllocation() {
  if (allocationsLeft < 0) return true;
  if (allocationsLeft == 0) {
    ++allocationsRefused;
    return false;
  }
  --allocationsLeft;
  return true;
}

HeapFailureScope::HeapFailureScope(long allowedAllocations) {
  allocationsLeft = allowedAllocations < 0 ? 0 : allowedAllocations;
  allocationsRefused = 0;
}

HeapFailureScope::~HeapFailureScope() { allocationsLeft = -1; }

long HeapFailureScope::refusedCount() const { return allocationsRefused; }

}  // namespace velmar::platform
