#include "reader/cp1251_table.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/utf8.h"

namespace velmar {
namespace {

constexpr auto kNoByte = static_cast<std::uint8_t>(kNoCp1251Byte);

// The byte of each of `Size` code points from `First` on; 0 means "no byte".
template <std::uint32_t First, std::size_t Size>
constexpr std::array<std::uint8_t, Size> buildByteTable() {
  std::array<std::uint8_t, Size> table{};
  for (std::uint32_t byte = 0x80; byte <= 0xFF; ++byte) {
    const std::uint32_t codePoint = kCp1251UpperHalf[byte - 0x80];
    // The stand-in for the unassigned byte must never turn back into it.
    if (byte != kCp1251Unassigned && codePoint - First < Size) table[codePoint - First] = byte;
  }
  return table;
}

// Code points below U+0800 (two-byte sequences) are looked up in one table, and the code page's
// punctuation, currency and signs, all from U+2000 to U+21FF, in another.
constexpr std::uint32_t kWideFirst = 0x2000;
constexpr std::size_t kWideSize = 0x200;
constexpr auto kTwoByteTable = buildByteTable<0, 0x800>();
constexpr auto kWideTable = buildByteTable<kWideFirst, kWideSize>();

std::uint8_t byteForCodePoint(std::uint32_t codePoint) {
  std::uint8_t byte = 0;
  if (codePoint < 0x800) {
    byte = kTwoByteTable[codePoint];
  } else if (codePoint - kWideFirst < kWideSize) {
    byte = kWideTable[codePoint - kWideFirst];
  }
  return byte != 0 ? byte : kNoByte;
}

using platform::isUtf8Continuation;

}  // namespace

std::size_t toCp1251(const char* text, std::size_t length, char* out) {
  // Each byte written comes from a character wholly read before it, so writing over the text
  // itself overtakes nothing still to be read.
  const auto* const bytes = reinterpret_cast<const std::uint8_t*>(text);
  auto* const written = reinterpret_cast<std::uint8_t*>(out);
  std::size_t read = 0;
  std::size_t write = 0;
  while (read < length) {
    const std::uint8_t lead = bytes[read];
    std::uint8_t converted = lead;
    // ASCII first, as the common case; the last branch passes any stray byte the same way.
    // NOLINTNEXTLINE(bugprone-branch-clone)
    if (lead < 0x80) {
      read += 1;
    } else if (lead >= 0xC2 && lead <= 0xDF && read + 1 < length &&
               isUtf8Continuation(bytes[read + 1])) {
      converted = byteForCodePoint(((lead & 0x1Fu) << 6) | (bytes[read + 1] & 0x3Fu));
      read += 2;
    } else if (lead >= 0xE0 && lead <= 0xEF && read + 2 < length &&
               isUtf8Continuation(bytes[read + 1]) && isUtf8Continuation(bytes[read + 2]) &&
               (lead != 0xE0 || bytes[read + 1] >= 0xA0)) {
      converted = byteForCodePoint(((lead & 0x0Fu) << 12) |
                                   ((bytes[read + 1] & 0x3Fu) << 6) | (bytes[read + 2] & 0x3Fu));
      read += 3;
    } else if (lead >= 0xF0 && lead <= 0xF4 && read + 3 < length &&
               isUtf8Continuation(bytes[read + 1]) && isUtf8Continuation(bytes[read + 2]) &&
               isUtf8Continuation(bytes[read + 3])) {
      converted = kNoByte;  // beyond the Basic Multilingual Plane: never in windows-1251
      read += 4;
    } else if (lead == 0xD0 || lead == 0xD1) {
      // Malformed from here on; the parser never hands us such text. A Cyrillic lead byte
      // takes the byte after it along (or stays, when it is the last byte).
      converted = read + 1 < length ? bytes[read + 1] : lead;
      read += 2;
    } else if (lead == 0xE2 && read + 1 < length && bytes[read + 1] == 0x84) {
      converted = read + 2 < length ? 0xB9 : lead;  // a cut-off numero sign
      read += 3;
    } else {
      read += 1;  // any other stray byte passes through
    }
    written[write++] = converted;
  }
  return write;
}

}  // namespace velmar
