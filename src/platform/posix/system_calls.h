#pragma once
// The system calls that carry the book's bytes to their place (output_primitives.h); the tests'
// twin, which fails them on cue, is tests/common/failing_system_calls_posix.cpp.

#include <sys/types.h>

#include <cstddef>

namespace velmar::platform::output::system {

ssize_t write(int file, const void* bytes, std::size_t size);
int fsync(int file);
int close(int file);
int renameat(int fromFolder, const char* from, int toFolder, const char* to);

}  // namespace velmar::platform::output::system
