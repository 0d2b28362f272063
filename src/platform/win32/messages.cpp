#include "platform/messages.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/line_ends.h"
#include "conversions.h"

namespace velmar::platform {
namespace {

bool messageLost = false;

// Console programs on Windows end their lines with CR LF.
std::string withCrLf(const std::string& text) {
  std::string lines(2 * text.size(), '\0');
  lines.resize(copyWithCrLf(text.data(), text.size(), &lines[0]));
  return lines;
}

void deliver(const std::string& utf8) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == INVALID_HANDLE_VALUE || output == nullptr) {
    messageLost = true;
    return;
  }
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode) != 0) {
    // A console shows the names in its own characters, whatever its code page.
    const std::wstring wide = widen(utf8.c_str());
    DWORD written = 0;
    if (WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) ==
        0) {
      messageLost = true;
    }
    return;
  }
  // Redirected to a file or a pipe: the bytes as they are, UTF-8.
  const char* bytes = utf8.data();
  std::size_t left = utf8.size();
  while (left > 0) {
    DWORD written = 0;
    if (WriteFile(output, bytes, static_cast<DWORD>(left), &written, nullptr) == 0 ||
        written == 0) {
      messageLost = true;
      return;
    }
    bytes += written;
    left -= written;
  }
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
  text.resize(static_cast<std::size_t>(length));
  deliver(withCrLf(text));
}

// Nothing is held back: every message was written as it was printed.
bool flushMessages() { return !messageLost; }

}  // namespace velmar::platform
