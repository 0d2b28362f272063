#pragma once
// The parser's callbacks that build the DVD list. Names and texts arrive as UTF-8. They never
// throw: running out of memory marks the read and stops the parser.

#include <expat.h>

#include "reader/dvd_list.h"

namespace velmar {

// A read under way: the list the handlers fill and the parser that calls them.
struct ListReading {
  DvdList& list;
  XML_Parser parser;
  // Set, and the parser stopped, when memory ran out: the list must not be written.
  bool outOfMemory = false;
};

// Makes `reading.parser` build `reading.list`: "VelmarList" opens a record; the end of "nameR",
// "nameO", "sign" or "obz" commits the text gathered since the last commit to that field of the
// last record (dropped while there is none). Line breaks before a text's first byte are skipped.
void setListHandlers(ListReading& reading);

}  // namespace velmar
