#pragma once
// Writes the DVD list as one FictionBook 2.0 document in windows-1251 with CR LF line ends: a
// contents section with one linked entry per record, then one note section per record.

#include <cstddef>

#include "platform/local_time.h"
#include "platform/output_file.h"
#include "reader/dvd_list.h"
#include "writer/book_text.h"

namespace velmar {

// Writes the book, dated `dated`, into `file` prepared for `outputPath` (OutputFile::prepare).
// True when the whole book reached the file. Otherwise prints "Can't open output file [...]" or
// "Can't write output file [...]" and returns false; an existing book is then as it was.
bool writeFictionBook(platform::OutputFile& file, const char* outputPath, const DvdList& list,
                      const platform::LocalTime& dated);

// Writes `count` bytes with the entities of writer/plain_runs.h; a line feed becomes the book's
// line end and every other byte (a NUL included) passes unchanged.
void putEscaped(BookText& out, const char* bytes, std::size_t count);

}  // namespace velmar
