#include "cli/conversion_run.h"

#include "reader/database_reader.h"
#include "writer/fiction_book_writer.h"

namespace velmar {

bool runConversion(const char* inputPath, const char* outputPath) {
  // The list lives exactly as long as the run; its destructors release it all.
  DvdList list;
  return readDatabase(inputPath, list) && writeFictionBook(outputPath, list);
}

}  // namespace velmar
