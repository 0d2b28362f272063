#pragma once
// The reference road through the element handlers: a parser of our own with no parser attached
// to the list, so the handlers gather the parser's UTF-8 and down-convert it at each commit.
// The reader takes plain text straight from the file's bytes instead; tests and the fuzz target
// hold the two roads against each other.

#include <cstddef>

#include "reader/dvd_list.h"

namespace velmar::testing {

// Parses the whole database at once into `list`; true when it is well-formed.
bool readThroughUtf8(const char* bytes, std::size_t size, DvdList& list);

}  // namespace velmar::testing
