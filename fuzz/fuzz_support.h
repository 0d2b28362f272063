#pragma once
// What the fuzz targets share: the anonymous temporary files the inputs go through, and
// standard output silenced.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmar::fuzz {

struct FuzzFiles {
  // The database file every input is written to: created once per process and unlinked at
  // once, so nothing is left behind however the process ends (a crash, a timeout, libFuzzer's
  // own exit). The reader opens it again through /proc/self/fd.
  int inputDescriptor = -1;
  std::string inputPath;
  // Where the book goes: /dev/null, or with VELMAR_FUZZ_OUTPUT=file a regular file (created
  // and unlinked the same way), which also runs the writer's regular-file paths.
  std::string outputPath = "/dev/null";
};

// Creates the files and sends standard output to /dev/null (the reader and the writer report
// there; libFuzzer reports on standard error, which stays). Call once, from
// LLVMFuzzerInitialize.
void setUp();

const FuzzFiles& files();

// Replaces the database file's content with these bytes; aborts when it cannot.
void writeDatabase(const std::uint8_t* data, std::size_t size);

}  // namespace velmar::fuzz
