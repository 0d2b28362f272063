// libFuzzer target: any bytes as a database file, read into a fresh list and, when the read
// succeeds, written out as a book. Faults show up through the sanitizers the target is built
// with, and a few things every successful read must give are checked; the program's own
// messages on standard output are thrown away.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_support.h"
#include "reader/database_reader.h"
#include "reader/dvd_list.h"
#include "program_io.h"
#include "writer/fiction_book_writer.h"

namespace {

// What every field of a successfully read list holds, whichever way its text came in: no NUL
// (XML cannot carry one, and the writer stops at the first), and never the byte 0x98, which
// windows-1251 leaves unassigned and the reader replaces.
bool fieldsAreClean(const velmar::DvdList& list) {
  for (std::size_t index = 0; index < list.records.size(); ++index) {
    const velmar::DvdRecord& record = list.records[index];
    for (const velmar::FieldText* field :
         {&record.nameR, &record.nameO, &record.sign, &record.obz}) {
      const std::string_view text(field->data(), field->size());
      if (text.find('\0') != std::string_view::npos) return false;
      if (text.find(static_cast<char>(0x98)) != std::string_view::npos) return false;
    }
  }
  return true;
}

// The same bytes read by the reference handlers (see program_io.h) must give the same
// records.
bool readsAlikeThroughUtf8(const std::uint8_t* data, std::size_t size,
                           const velmar::DvdList& read) {
  velmar::DvdList list;
  return velmar::testing::parseWhole(velmar::testing::Handlers::Reference,
                                     reinterpret_cast<const char*>(data), size, list) &&
         velmar::testing::sameRecords(list.records, read.records);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  velmar::fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmar::fuzz::writeDatabase(data, size);
  const velmar::fuzz::FuzzFiles& files = velmar::fuzz::files();
  velmar::DvdList list;
  if (velmar::testing::readDatabaseFile(files.inputPath.c_str(), list)) {
    if (!fieldsAreClean(list)) std::abort();
    if (!readsAlikeThroughUtf8(data, size, list)) std::abort();
    // The book always fits the sink.
    if (!velmar::testing::writeBook(files.outputPath.c_str(), list)) std::abort();
  }
  // Whatever was printed goes to /dev/null; this only keeps the stdio buffer from growing.
  static_cast<void>(std::fflush(stdout));
  return 0;
}
