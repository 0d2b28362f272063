#pragma once
// For utf8_count.cpp and the tests only: utf8CharacterCount a word of bytes at a time, which
// every build has, so that the tests hold the SSE2 count to it wherever they run.

#include <cstddef>

namespace velmar {

std::size_t utf8CharacterCountPortable(const char* text, std::size_t count);

}  // namespace velmar
