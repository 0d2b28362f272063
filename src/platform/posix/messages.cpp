#include "platform/messages.h"

#include <cstdarg>
#include <cstdio>

namespace velmar::platform {

// Variadic, so that every message reads as the printf format it is where it is printed.
void printMessage(const char* format, ...) {  // NOLINT(cert-dcl50-cpp)
  va_list arguments;
  va_start(arguments, format);
  // A lost message shows in flushMessages(), which checks the stream's error state.
  static_cast<void>(
      std::vprintf(format, arguments));  // NOLINT(clang-analyzer-valist.Uninitialized)
  va_end(arguments);
}

bool flushMessages() { return std::fflush(stdout) == 0 && std::ferror(stdout) == 0; }

}  // namespace velmar::platform
