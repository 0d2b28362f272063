#pragma once
// The line end of the program's text: the book's on every system, and the messages' on Windows,
// whose text files end their lines so. Every line feed becomes the pair CR LF; a lone CR stays
// as it is.

#include <cstddef>

namespace velmar::platform {

inline constexpr char kCrLf[] = "\r\n";

// Copies the `count` bytes of `text` to `out` with each line feed as CR LF, and returns how many
// bytes that made: at most twice `count`, the room `out` must have.
constexpr std::size_t copyWithCrLf(const char* text, std::size_t count, char* out) {
  std::size_t size = 0;
  for (std::size_t at = 0; at < count; ++at) {
    if (text[at] == '\n') out[size++] = '\r';
    out[size++] = text[at];
  }
  return size;
}

}  // namespace velmar::platform
