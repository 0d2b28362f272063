#pragma once
// The system calls that carry the book's bytes to their place: its writes, its sync, its close
// and the rename that puts it in the old book's place. The program is built with
// system_calls.cpp, which makes them; the tests' variant of the library with a twin that can
// fail any of them on cue (tests/common/failing_system_calls_posix.cpp). For posix/output_file.cpp
// only.

#include <sys/types.h>

#include <cstddef>

namespace velmar::platform::output::system {

ssize_t write(int file, const void* bytes, std::size_t count);
int fsync(int file);
int close(int file);
int renameat(int fromFolder, const char* from, int toFolder, const char* to);

}  // namespace velmar::platform::output::system
