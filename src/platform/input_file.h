#pragma once
// The database file, read as bytes. Reads go through a buffer of its own, so the parser's small
// chunks cost a copy, not a system call each. The buffer is on the heap: the program must run in
// a small stack.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/file_identity.h"

namespace velmar::platform {

class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens the file `path` names (UTF-8 on Windows) for reading; the name of a descriptor the
  // program holds open for reading (/dev/stdin, /dev/fd/N) is read through that descriptor, so
  // a socket or a pipe on standard input can be read. False when it cannot be opened.
  bool open(const char* path);

  // Fills `buffer` with up to `capacity` bytes and returns how many it holds: fewer only at the
  // end of the file, or after a read error, which failed() then reports.
  std::size_t read(char* buffer, std::size_t capacity);

  bool failed() const { return failed_; }

  // The identity of the open file, whatever its kind (a pipe, a FIFO, a socket as well as a
  // file), but a character device: reading a terminal and writing to it is no danger. False for
  // that, or when the system cannot tell (on Windows it tells for files on a disk only).
  bool identity(FileIdentity& result) const;

 private:
  // One read from the system into the empty buffer: false at the end or on an error.
  bool fill();

  static constexpr std::intptr_t kClosed = -1;
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

  std::intptr_t handle_ = kClosed;  // a descriptor (POSIX) or a HANDLE (Windows)
  bool failed_ = false;
  std::size_t next_ = 0;  // the first byte of buffer_ not yet handed out
  std::size_t held_ = 0;  // bytes in buffer_
  std::unique_ptr<char[]> buffer_;
};

}  // namespace velmar::platform
