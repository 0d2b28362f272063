#pragma once
// One conversion, from a database file to a book file.

namespace velmar {

// Opens the database, refuses a book that would be the database itself, reads it all, then
// writes the book only if the read succeeded: a failed read never touches the output file.
// True when the book was written; every failure has printed its own message.
bool runConversion(const char* inputPath, const char* outputPath);

}  // namespace velmar
