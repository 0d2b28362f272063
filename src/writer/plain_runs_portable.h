#pragma once
// For plain_runs.cpp and the tests only: plainPrefixLength a word of bytes at a time, which
// every build has, so that the tests hold the SSE2 search to it wherever they run.

#include <cstddef>

namespace velmar {

std::size_t plainPrefixLengthPortable(const char* bytes, std::size_t count);

}  // namespace velmar
