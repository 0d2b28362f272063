#pragma once
// One conversion, from a database file to a book file.

namespace velmar {

// Reads the whole database, then writes the book, only if the read succeeded: a failed read
// never creates or truncates the output file. True when the book was written. Every failure
// has already printed its own message.
bool runConversion(const char* inputPath, const char* outputPath);

}  // namespace velmar
