#include "platform/messages.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "conversions.h"
#include "platform/line_ends.h"

namespace velmar::platform {
namespace {

bool messageLost = false;

// A console shows the names in its own characters, whatever its code page; a file or a pipe
// receives the bytes as they are, UTF-8.
bool deliver(const std::string& utf8) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == INVALID_HANDLE_VALUE || output == nullptr) return false;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(output, &mode) != 0) {
    const std::wstring wide = widen(utf8.c_str());
    const DWORD length = static_cast<DWORD>(wide.size());
    return WriteConsoleW(output, wide.data(), length, &written, nullptr) != 0;
  }
  for (std::size_t done = 0; done < utf8.size(); done += written) {
    const DWORD left = static_cast<DWORD>(utf8.size() - done);
    if (WriteFile(output, utf8.data() + done, left, &written, nullptr) == 0 || written == 0)
      return false;
  }
  return true;
}

}  // namespace

void printMessage(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list measuring;
  va_copy(measuring, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, measuring);
  va_end(measuring);
  if (length < 0) {
    va_end(arguments);
    messageLost = true;
    return;
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, arguments);
  va_end(arguments);
  std::string lines(2 * text.size(), '\0');
  lines.resize(copyWithCrLf(text.data(), static_cast<std::size_t>(length), &lines[0]));
  if (!deliver(lines)) messageLost = true;
}

// Nothing is held back: every message was written as it was printed.
bool flushMessages() { return !messageLost; }

}  // namespace velmar::platform
