#pragma once
// The reader's count of the characters in a text of UTF-8, done 16 bytes at a time where the
// processor has SSE2.

#include <cstddef>

namespace velmar {

// How many characters `count` bytes of UTF-8 hold: the bytes that do not continue a character.
std::size_t utf8CharacterCount(const char* text, std::size_t count);

}  // namespace velmar
