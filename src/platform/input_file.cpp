#include "platform/input_file.h"

#include <cstring>

namespace velmar::platform {

std::size_t InputFile::read(char* buffer, std::size_t capacity) {
  std::size_t filled = 0;
  while (filled < capacity) {
    if (next_ == held_ && !fill()) break;
    const std::size_t held = held_ - next_;
    const std::size_t taken = held < capacity - filled ? held : capacity - filled;
    std::memcpy(buffer + filled, buffer_.get() + next_, taken);
    next_ += taken;
    filled += taken;
  }
  return filled;
}

}  // namespace velmar::platform
