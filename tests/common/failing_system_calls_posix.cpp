// The book file's system calls (posix/system_calls.h) of the tests' variant of the library:
// the system's own, each failing with EIO while an OutputFaultScope says so.

#include <fcntl.h>
#include <cstdio>
#include <unistd.h>

#include <cerrno>

#include "output_fault_scope.h"
#include "platform/posix/system_calls.h"

namespace velmar::platform::output::system {
namespace {

bool failing(OutputStep step) {
  if (!outputStepFails(step)) return false;
  errno = EIO;
  return true;
}

}  // namespace

ssize_t write(int file, const void* bytes, std::size_t size) {
  return failing(OutputStep::Write) ? -1 : ::write(file, bytes, size);
}
int fsync(int file) { return failing(OutputStep::Sync) ? -1 : ::fsync(file); }
// The descriptor is closed either way, as a failing close(2) leaves it.
int close(int file) { return ::close(file) != 0 || failing(OutputStep::Close) ? -1 : 0; }
int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  return failing(OutputStep::Rename) ? -1 : ::renameat(fromFolder, from, toFolder, to);
}

}  // namespace velmar::platform::output::system
