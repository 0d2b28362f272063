#pragma once
// Turns the parser's UTF-8 back into windows-1251, in place or into other storage.

#include <cstddef>

#include "reader/dvd_list.h"

namespace velmar {

// The byte written for a character windows-1251 lacks, and for the one byte value the code page
// leaves unassigned (0x98), which never reaches a field as itself.
constexpr char kNoCp1251Byte = '?';

// Rewrites the accumulator's UTF-8 text as windows-1251: every character of the code page
// becomes its byte, any other character becomes one '?'. The text never grows; its length is
// updated and a NUL follows it.
void toCp1251InPlace(TextAccumulator& text);

// The same for `length` bytes of UTF-8 anywhere, written to `out`, which has room for `length`
// bytes and is either `text` itself or storage apart from it: returns how many windows-1251
// bytes they became. Writes nothing past them (no NUL).
std::size_t toCp1251(const char* text, std::size_t length, char* out);

}  // namespace velmar
