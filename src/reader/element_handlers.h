#pragma once
// The parser's callbacks that build the DVD list. Names and texts arrive as UTF-8. They never
// throw: running out of memory marks the read and stops the parser.

#include <expat.h>

#include "reader/dvd_list.h"

namespace velmar {

// The two ways text reaches a field, both ending in windows-1251.
enum class TextRoad {
  // The reader's: plain character data is taken straight from the file's bytes behind the
  // parser's event, anything else down-converted as it arrives (see parsed_text.h).
  FileBytes,
  // The reference: the parser's UTF-8 is gathered as it comes and down-converted at each commit.
  // Slower and plainly right; the tests and the fuzz target hold the reader's road to it.
  Utf8,
};

// A read under way: the list the handlers fill and the parser that calls them.
struct ListReading {
  DvdList& list;
  XML_Parser parser;
  // Set by a handler that ran out of memory, which then stopped the parser: the list is
  // incomplete and must not be written.
  bool outOfMemory = false;
};

// Makes `reading.parser` build `reading.list` along `road`: "VelmarList" opens a record; "nameR",
// "nameO", "sign" and "obz" choose the current field, and the end of any of them commits the
// text gathered since the last commit to that field of the last record (or drops it while there
// is no record yet). Line breaks before the first byte of a text are skipped.
void setListHandlers(ListReading& reading, TextRoad road);

}  // namespace velmar
