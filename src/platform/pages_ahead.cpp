#include "platform/pages_ahead.h"

#include "platform/heap.h"

namespace velmar::platform {

void PagesAhead::makePresentAhead(char* used) {
  char* const target = static_cast<std::size_t>(end_ - used) > kStep ? used + kStep : end_;
  heapMakePagesPresent(present_, static_cast<std::size_t>(target - present_));
  present_ = target;
}

}  // namespace velmar::platform
