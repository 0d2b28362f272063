#include "cli/conversion_run.h"

#include "platform/file_identity.h"
#include "platform/input_file.h"
#include "platform/local_time.h"
#include "platform/messages.h"
#include "platform/output_file.h"
#include "reader/database_reader.h"
#include "writer/fiction_book_writer.h"

namespace velmar {

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): input, then output, as on the command line
bool runConversion(const char* inputPath, const char* outputPath) {
  platform::InputFile input;
  if (!openDatabase(input, inputPath)) return false;
  // The book's file is found now and held until written, so the check below compares the
  // database with the very file the book goes to. Nothing is created or changed yet; a book
  // that cannot be written is reported after the read, so a failed read is reported first.
  platform::OutputFile book;
  static_cast<void>(book.prepare(outputPath));
  // The book must never take the database's place, nor write into the pipe it comes through.
  platform::FileIdentity inputIdentity;
  if (input.identity(inputIdentity) && book.writesInto(inputIdentity)) {
    platform::printMessage("Output file [%s] is the input file\n", outputPath);
    return false;
  }
  DvdList list;
  if (!readDatabase(input, inputPath, list)) return false;
  return writeFictionBook(book, outputPath, list, platform::localTimeNow());
}

}  // namespace velmar
