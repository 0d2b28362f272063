#pragma once
// For plain_runs.cpp and the tests only: the search a word of bytes at a time, which every build
// has, so that the tests hold the SSE2 search to it wherever they run.

#include <cstddef>

namespace velmar {

// The same as plainPrefixLength, without SSE2.
std::size_t plainPrefixLengthPortable(const char* bytes, std::size_t count);

}  // namespace velmar
