#pragma once
// The writer's search for the bytes the book escapes, done 16 bytes at a time where the
// processor has SSE2.

#include <cstddef>

namespace velmar {

// How many bytes come before the first of kEscapedBytes (writer/escaped_bytes.h); `count` when
// there is none.
std::size_t plainPrefixLength(const char* bytes, std::size_t count);

}  // namespace velmar
