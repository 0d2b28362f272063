#pragma once
// One conversion, from a database file to a book file.

namespace velmar {

// Opens the database, refuses a book that would be the database itself ("Output file [...] is
// the input file"), reads the whole database, then writes the book, only if the read succeeded:
// a failed read never creates or touches the output file. True when the book was written.
// Every failure has already printed its own message.
bool runConversion(const char* inputPath, const char* outputPath);

}  // namespace velmar
