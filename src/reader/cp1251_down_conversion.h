#pragma once
// Turns the parser's UTF-8 back into windows-1251, in place.

#include "reader/dvd_list.h"

namespace velmar {

// Rewrites the accumulator's UTF-8 text as windows-1251: every character of the code page
// becomes its byte, any other character becomes one '?'. The text never grows; its length is
// updated and a NUL follows it.
void toCp1251InPlace(TextAccumulator& text);

}  // namespace velmar
