#pragma once
// For utf8_count.cpp and the tests only: the count a word of bytes at a time, which every build
// has, so that the tests hold the SSE2 count to it wherever they run.

#include <cstddef>

namespace velmar {

// The same as utf8CharacterCount, without SSE2.
std::size_t utf8CharacterCountPortable(const char* text, std::size_t count);

}  // namespace velmar
