#include "output_fault_scope.h"

namespace velmar::platform {
namespace {

bool armed = false;
OutputStep armedStep = OutputStep::Write;
long occurrencesBefore = 0;
long failuresLeft = 0;

}  // namespace

OutputFaultScope::OutputFaultScope(OutputStep step, long occurrence, long times) {
  armed = true;
  armedStep = step;
  occurrencesBefore = occurrence - 1;
  failuresLeft = times;
}

OutputFaultScope::~OutputFaultScope() { armed = false; }

bool outputStepFails(OutputStep step) {
  if (!armed || step != armedStep || failuresLeft == 0) return false;
  if (occurrencesBefore > 0) {
    --occurrencesBefore;
    return false;
  }
  --failuresLeft;
  return true;
}

}  // namespace velmar::platform
