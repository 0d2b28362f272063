#pragma once

#include <cstddef>

namespace velmar {

// The byte written for a character windows-1251 lacks, and for the one byte value the code page
// leaves unassigned (0x98), which never reaches a field as itself.
constexpr char kNoCp1251Byte = '?';

// Writes `length` bytes of UTF-8 as windows-1251, any character the code page lacks as '?', to
// `out`: `text` itself or storage apart with room for `length` bytes. Returns how many bytes were
// written (never more than were read); no NUL follows them.
std::size_t toCp1251(const char* text, std::size_t length, char* out);

}  // namespace velmar
