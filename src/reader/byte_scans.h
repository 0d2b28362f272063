#pragma once
// The scans that run over every byte of a text: the reader's count of characters and the
// writer's search for the bytes the book escapes. Each is done 16 bytes at a time where the
// processor has SSE2, beside a portable twin that does it a word of bytes at a time; every build
// has both, so the tests hold the one to the other wherever they run.

#include <cstddef>

namespace velmar {

// How many characters `count` bytes of UTF-8 hold: the bytes that do not continue a character.
std::size_t utf8CharacterCount(const char* text, std::size_t count);
std::size_t utf8CharacterCountPortable(const char* text, std::size_t count);

// How many of the `count` bytes come before the first that the book cannot copy as it is
// (" & ' < > or a line feed); `count` when there is none.
std::size_t plainPrefixLength(const char* bytes, std::size_t count);
std::size_t plainPrefixLengthPortable(const char* bytes, std::size_t count);

}  // namespace velmar
