#pragma once
// Gathering text from a running parser straight in windows-1251. Plain character data is taken
// from the file's own bytes, which saves turning the parser's UTF-8 back character by character;
// anything else (references, entities, normalised line breaks) is down-converted as it arrives.

#include <expat.h>

#include <cstddef>

#include "reader/dvd_list.h"

namespace velmar {

// Appends `count` bytes of the UTF-8 text of `parser`'s current event, as windows-1251.
// `whole`: nothing of the piece was skipped, so the file bytes behind it may stand in for it.
// False when memory runs out.
bool appendParsedText(XML_Parser parser, TextAccumulator& accumulator, const XML_Char* text,
                      std::size_t count, bool whole);

}  // namespace velmar
