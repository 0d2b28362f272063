#pragma once
// Turns the parser's UTF-8 back into windows-1251, in place or into other storage.

#include <cstddef>

namespace velmar {

// The byte written for a character windows-1251 lacks, and for the one byte value the code page
// leaves unassigned (0x98), which never reaches a field as itself.
constexpr char kNoCp1251Byte = '?';

// Writes `length` bytes of UTF-8 as windows-1251 to `out`: every character of the code page
// becomes its byte, any other character becomes one '?'. `out` has room for `length` bytes and
// is either `text` itself or storage apart from it; returns how many bytes were written (never
// more than were read). Writes nothing past them (no NUL).
std::size_t toCp1251(const char* text, std::size_t length, char* out);

}  // namespace velmar
