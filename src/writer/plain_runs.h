#pragma once
// The bytes the book cannot copy as they are, and what each becomes: the one list that the
// writer's escaping and its search for plain runs both follow.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmar {

struct EscapedByte {
  char byte;
  // What the book has in its place; none for the line feed, which becomes BookText::endLine.
  std::string_view entity;
};

inline constexpr EscapedByte kEscapedBytes[] = {
    {'"', "&quot;"}, {'&', "&amp;"}, {'\'', "&apos;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'\n', ""},
};
inline constexpr std::size_t kEscapedByteCount = std::size(kEscapedBytes);

// For every byte, one more than its place in kEscapedBytes; 0 for a byte the book copies.
inline constexpr std::array<std::uint8_t, 256> kEscapeOf = [] {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t place = 0; place < kEscapedByteCount; ++place) {
    table[static_cast<std::uint8_t>(kEscapedBytes[place].byte)] =
        static_cast<std::uint8_t>(place + 1);
  }
  return table;
}();

// How many bytes come before the first of kEscapedBytes; `count` when there is none. 16 bytes at
// a time where the processor has SSE2.
std::size_t plainPrefixLength(const char* bytes, std::size_t count);

// The same a word of bytes at a time, which every build has: the tests hold the SSE2 search to it.
std::size_t plainPrefixLengthPortable(const char* bytes, std::size_t count);

}  // namespace velmar
