#include "system_calls.h"

#include <unistd.h>

#include <cstdio>

namespace velmar::platform::output::system {

ssize_t write(int file, const void* bytes, std::size_t size) { return ::write(file, bytes, size); }
int fsync(int file) { return ::fsync(file); }
int close(int file) { return ::close(file); }
int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  return ::renameat(fromFolder, from, toFolder, to);
}

}  // namespace velmar::platform::output::system
