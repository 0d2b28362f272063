#include "book_writing.h"

#include "platform/messages.h"
#include "platform/text_file_writer.h"
#include "writer/fiction_book_writer.h"

namespace velmar::testing {

bool writeBook(const char* path, const DvdList& list, const platform::LocalTime& dated) {
  platform::TextFileWriter out;
  if (!out.prepare(path)) {
    platform::printMessage("Can't open output file [%s]\n", path);
    return false;
  }
  return writeFictionBook(out, path, list, dated);
}

}  // namespace velmar::testing
