// libFuzzer target for running out of memory: the first two bytes of an input say how many
// allocations the program heap grants before it refuses every further one; the rest is the
// database. Whatever allocation fails, the read must either succeed having been refused
// nothing, or fail with the list marked or the parser's error, and never leak or touch freed
// memory (the sanitizers see to that). A successful read is then written out in full memory.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "program_io.h"
#include "fuzz_support.h"
#include "heap_failure_scope.h"
#include "reader/database_reader.h"
#include "reader/dvd_list.h"
#include "writer/fiction_book_writer.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  velmar::fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return -1;  // not worth keeping in the corpus
  const long allowed = static_cast<long>((data[0] | (data[1] << 8)) & 0x3FF);
  velmar::fuzz::writeDatabase(data + 2, size - 2);
  const velmar::fuzz::FuzzFiles& files = velmar::fuzz::files();

  velmar::DvdList list;
  bool read = false;
  long refused = 0;
  {
    const velmar::platform::HeapFailureScope scarce(allowed);
    read = velmar::testing::readDatabaseFile(files.inputPath.c_str(), list);
    refused = scarce.refusedCount();
  }
  if (read) {
    // A read that lost an allocation must not pass as complete.
    if (refused != 0) std::abort();
    if (!velmar::testing::writeBook(files.outputPath.c_str(), list)) std::abort();
  }
  static_cast<void>(std::fflush(stdout));
  return 0;
}
