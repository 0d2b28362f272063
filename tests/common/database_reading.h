#pragma once
// Ways of reading a database that the unit tests and the fuzz target share.

#include <cstddef>

#include "reader/dvd_list.h"

namespace velmar::testing {

// Which handlers build the list: the program's, or the reference they are held to (see
// reader/reference_handlers.h).
enum class Handlers { Program, Reference };

// Parses the whole database at once into `list`; true when it is well-formed (and memory lasted).
bool parseWhole(Handlers handlers, const char* bytes, std::size_t size, DvdList& list);

// Opens and reads the database file at `path` as the program does, messages and all.
bool readDatabaseFile(const char* path, DvdList& list);

// Whether two lists hold the same records, field by field.
bool sameRecords(const DvdRecords& a, const DvdRecords& b);

}  // namespace velmar::testing
