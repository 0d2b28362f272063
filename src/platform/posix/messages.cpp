#include "platform/messages.h"

#include <cstdarg>
#include <cstdio>

namespace velmar::platform {

// Every message of the program is a printf format with its values; a variadic function keeps
// them readable where they are printed.
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
