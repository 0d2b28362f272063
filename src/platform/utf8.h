#pragma once
// What every room needs to know of UTF-8 to step over characters without decoding them.

namespace velmar::platform {

// A byte that continues a character rather than starting one: 10xxxxxx.
constexpr bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace velmar::platform
