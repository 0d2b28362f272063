#include "fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace velmar::fuzz {
namespace {

FuzzFiles& mutableFiles() {
  static FuzzFiles instance;
  return instance;
}

[[noreturn]] void fail(const char* what) {
  std::perror(what);
  std::abort();
}

// VELMAR_FUZZ_TMPDIR when set, else memory-backed /dev/shm where it is writable, else TMPDIR or
// /tmp. Every input truncates and rewrites the file, and on a disk-backed /tmp that alone cut
// the rate of executions here from about 8000 to about 200 a second.
std::string temporaryDirectory() {
  const char* chosen = std::getenv("VELMAR_FUZZ_TMPDIR");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
  const char* fallback = std::getenv("TMPDIR");
  return fallback != nullptr && *fallback != '\0' ? fallback : "/tmp";
}

int anonymousTemporaryFile(std::string& path) {
  std::string pattern = temporaryDirectory() + "/velmar-fuzz-XXXXXX";
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) fail("velmar fuzz: mkstemp");
  unlink(pattern.c_str());
  path = "/proc/self/fd/" + std::to_string(descriptor);
  return descriptor;
}

}  // namespace

void setUp() {
  FuzzFiles& state = mutableFiles();
  state.inputDescriptor = anonymousTemporaryFile(state.inputPath);
  const char* output = std::getenv("VELMAR_FUZZ_OUTPUT");
  if (output != nullptr && std::string(output) == "file") anonymousTemporaryFile(state.outputPath);

  const int devNull = open("/dev/null", O_WRONLY);
  if (devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0) fail("velmar fuzz: silencing stdout");
  close(devNull);
}

const FuzzFiles& files() { return mutableFiles(); }

void writeDatabase(const std::uint8_t* data, std::size_t size) {
  const int descriptor = files().inputDescriptor;
  if (ftruncate(descriptor, 0) != 0 || lseek(descriptor, 0, SEEK_SET) != 0) {
    fail("velmar fuzz: truncating the database file");
  }
  while (size > 0) {
    const ssize_t written = write(descriptor, data, size);
    if (written <= 0) fail("velmar fuzz: writing the database file");
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

}  // namespace velmar::fuzz
