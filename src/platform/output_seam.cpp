#include "platform/output_seam.h"

#include "platform/fault_scopes.h"

namespace velmar::platform {
namespace {

bool armed = false;
OutputStep armedStep = OutputStep::Write;
long occurrencesLeft = 0;

}  // namespace

OutputFaultScope::OutputFaultScope(OutputStep step, long occurrence) {
  armed = true;
  armedStep = step;
  occurrencesLeft = occurrence;
}

OutputFaultScope::~OutputFaultScope() { armed = false; }

bool outputStepFails(OutputStep step) {
  if (!armed || step != armedStep) return false;
  return --occurrencesLeft == 0;
}

}  // namespace velmar::platform
