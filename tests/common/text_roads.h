#pragma once
// A whole database parsed at once along either text road (see TextRoad). The reader takes the
// file-bytes road; tests and the fuzz target hold it to the reference road, which gathers the
// parser's UTF-8 and down-converts it at each commit.

#include <cstddef>

#include "reader/dvd_list.h"
#include "reader/element_handlers.h"

namespace velmar::testing {

// Parses the whole database at once into `list`; true when it is well-formed (and memory lasted).
bool readAlong(TextRoad road, const char* bytes, std::size_t size, DvdList& list);

}  // namespace velmar::testing
