#include "system_calls.h"

#include <fcntl.h>
#include <cstdio>
#include <unistd.h>

namespace velmar::platform::output::system {

ssize_t write(int file, const void* bytes, std::size_t count) { return ::write(file, bytes, count); }
int fsync(int file) { return ::fsync(file); }
int close(int file) { return ::close(file); }
int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  return ::renameat(fromFolder, from, toFolder, to);
}

}  // namespace velmar::platform::output::system
