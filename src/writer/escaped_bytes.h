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

constexpr std::array<std::uint8_t, 256> buildEscapeOf() {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t place = 0; place < kEscapedByteCount; ++place) {
    table[static_cast<std::uint8_t>(kEscapedBytes[place].byte)] =
        static_cast<std::uint8_t>(place + 1);
  }
  return table;
}

// For every byte, one more than its place in kEscapedBytes; 0 for a byte the book copies.
inline constexpr std::array<std::uint8_t, 256> kEscapeOf = buildEscapeOf();

}  // namespace velmar
