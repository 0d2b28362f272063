#pragma once
// Writes the DVD list as one FictionBook 2.0 document in windows-1251 with CR LF line ends: a
// contents section with one linked entry per record, then one note section per record.

#include <cstddef>

#include "platform/local_time.h"
#include "platform/output_file.h"
#include "reader/dvd_list.h"
#include "writer/book_text.h"

namespace velmar {

// Writes the book, dated `dated`, into the book file `file` prepared for `outputPath`
// (OutputFile::prepare), the name serving only the messages. True when the whole book reached
// the file. Otherwise prints "Can't open output file [...]" (the file was not prepared, or
// cannot be opened) or "Can't write output file [...]" to standard output and returns false; an
// existing book is then as it was (see OutputFile for the files written in place).
bool writeFictionBook(platform::OutputFile& file, const char* outputPath, const DvdList& list,
                      const platform::LocalTime& dated);

// Writes `count` bytes with &quot; &amp; &apos; &lt; and &gt; for the five bytes that need them;
// a line feed becomes the book's line end and every other byte (a NUL included) passes
// unchanged.
void putEscaped(BookText& out, const char* bytes, std::size_t count);

}  // namespace velmar
