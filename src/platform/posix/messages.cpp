#include "platform/messages.h"

#include <cstdarg>
#include <cstdio>

namespace velmar::platform {

void printMessage(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  // A lost message shows in flushMessages(), which checks the stream's error state.
  static_cast<void>(std::vprintf(format, arguments));
  va_end(arguments);
}

bool flushMessages() { return std::fflush(stdout) == 0 && std::ferror(stdout) == 0; }

}  // namespace velmar::platform
