#include "cli/conversion_run.h"

#include "platform/file_identity.h"
#include "platform/input_file.h"
#include "platform/messages.h"
#include "reader/database_reader.h"
#include "writer/fiction_book_writer.h"

namespace velmar {

bool runConversion(const char* inputPath, const char* outputPath) {
  platform::InputFile input;
  if (!openDatabase(input, inputPath)) return false;
  // The book must never take the database's place, however the two names are spelled: nor
  // write into the pipe the database comes through.
  platform::FileIdentity inputIdentity;
  platform::FileIdentity outputIdentity;
  if (input.identity(inputIdentity) &&
      platform::identityOfPath(outputPath, outputIdentity) && inputIdentity == outputIdentity) {
    platform::printMessage("Output file [%s] is the input file\n", outputPath);
    return false;
  }
  // The list lives exactly as long as the run; its destructors release it all.
  DvdList list;
  return readDatabase(input, inputPath, list) && writeFictionBook(outputPath, list);
}

}  // namespace velmar
