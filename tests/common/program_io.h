#pragma once
// Reading a database and writing a book the ways the unit tests and the fuzz target share.

#include <cstddef>

#include "platform/local_time.h"
#include "reader/dvd_list.h"

namespace velmar::testing {

// Which handlers build the list: the program's, or the reference they are held to (see
// reference_handlers.h).
enum class Handlers { Program, Reference };

// Parses the whole database at once into `list`; true when it is well-formed (and memory lasted).
bool parseWhole(Handlers handlers, const char* bytes, std::size_t size, DvdList& list);

// Opens and reads the database file at `path` as the program does, messages and all.
bool readDatabaseFile(const char* path, DvdList& list);

// Prepares the book file at `path` and writes `list` into it (writeFictionBook), as the program
// does once it has read the database, messages and all.
bool writeBook(const char* path, const DvdList& list,
               const platform::LocalTime& dated = platform::localTimeNow());

// Whether two lists hold the same records, field by field.
bool sameRecords(const DvdRecords& a, const DvdRecords& b);

}  // namespace velmar::testing
