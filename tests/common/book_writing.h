#pragma once
// Writing a book by name, as the program does once it has read the database; for the unit
// tests and the fuzz target.

#include "platform/local_time.h"
#include "reader/dvd_list.h"

namespace velmar::testing {

// Prepares the book file at `path` and writes `list` into it (writeFictionBook), messages and
// all; "Can't open output file [...]" when it cannot be prepared.
bool writeBook(const char* path, const DvdList& list,
               const platform::LocalTime& dated = platform::localTimeNow());

}  // namespace velmar::testing
