#pragma once
// Gathering text from a running parser straight in windows-1251.
//
// Each piece of text the parser reports is whole characters, so it converts on its own. Plain
// character data is taken straight from the file's bytes, which saves turning the parser's
// UTF-8 back into windows-1251 character by character (and holds a Cyrillic text in half the
// room); anything else (references, entities, normalised line breaks) is down-converted as it
// arrives.

#include <expat.h>

#include <cstddef>

#include "reader/dvd_list.h"

namespace velmar {

// Appends `count` bytes of the UTF-8 text `parser` reports in its current event, as
// windows-1251, to `accumulator`. `whole` says the bytes are the entire piece the parser reported
// (nothing was skipped), so the file bytes behind it may stand in for them. False when memory
// runs out.
bool appendParsedText(XML_Parser parser, TextAccumulator& accumulator, const XML_Char* text,
                      std::size_t count, bool whole);

}  // namespace velmar
