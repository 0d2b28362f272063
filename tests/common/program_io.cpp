#include "program_io.h"

#include <expat.h>

#include <string_view>

#include "platform/input_file.h"
#include "platform/output_file.h"
#include "reader/database_reader.h"
#include "reference_handlers.h"
#include "writer/fiction_book_writer.h"

namespace velmar::testing {

bool parseWhole(Handlers handlers, const char* bytes, std::size_t size, DvdList& list) {
  XML_Parser parser = XML_ParserCreate("windows-1251");
  if (parser == nullptr) return false;
  ListReading reading{list, parser};
  if (handlers == Handlers::Program) {
    setListHandlers(reading);
  } else {
    setReferenceListHandlers(reading);
  }
  XML_SetUnknownEncodingHandler(parser, onUnknownEncoding, nullptr);
  const bool parsed =
      XML_Parse(parser, bytes, static_cast<int>(size), XML_TRUE) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return parsed;
}

bool readDatabaseFile(const char* path, DvdList& list) {
  platform::InputFile file;
  return openDatabase(file, path) && readDatabase(file, path, list);
}

bool writeBook(const char* path, const DvdList& list, const platform::LocalTime& dated) {
  platform::OutputFile out;
  static_cast<void>(out.prepare(path));  // one that fails is reported as the program does
  return writeFictionBook(out, path, list, dated);
}

bool sameRecords(const DvdRecords& a, const DvdRecords& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t index = 0; index < a.size(); ++index) {
    for (const FieldOfRecord field :
         {&DvdRecord::nameR, &DvdRecord::nameO, &DvdRecord::sign, &DvdRecord::obz}) {
      const FieldText& x = a[index].*field;
      const FieldText& y = b[index].*field;
      if (std::string_view(x.data(), x.size()) != std::string_view(y.data(), y.size())) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace velmar::testing
