#pragma once
// The book file, written so that a failure never costs the user a good book.
//
// A regular file is not overwritten: the new book goes into a temporary file beside it (".NAME."
// and six random characters; a symbolic link is followed first, so the link stays a link), is
// flushed to the disk and only then renamed over the old name, keeping the old file's mode (and,
// where permitted, owner and group). Until then the old book stands untouched, and on any
// failure, or an interrupt, only the temporary file is removed. Two runs writing one book end
// with the whole book of the one that finished last.
//
// Written in place instead, and never removed: a book with other hard links (they must keep
// seeing it), a book in a folder where no temporary file can be made but which itself is
// writable, devices, pipes and sockets, and names of descriptors the program already holds
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N; on Windows NUL and CON), which are written through
// that descriptor.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmar::platform {

class OutputFile {
 public:
  OutputFile() = default;
  // A book never committed is abandoned.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Prepares to write the book `path` names (UTF-8 on Windows). False, with nothing created or
  // changed, when the book cannot be written: no such folder, no permission, a read-only file.
  bool open(const char* path);

  // Writes all `count` bytes; false once any write has failed (later writes do nothing).
  bool write(const char* bytes, std::size_t count);

  // True once a write has failed, or the book was given up.
  bool failed() const { return failed_; }

  // Makes the written book the file of that name: flush, sync to the disk, close, rename over
  // the old book. True on success; on failure the temporary file is removed, the old book is
  // as it was, and false is returned.
  bool commit();

  // Gives up: closes the file and removes the temporary file, if one was made. Nothing else is
  // ever removed.
  void abandon();

  // True when the book is written to a temporary file that will replace the final one.
  bool replacing() const { return replacing_; }
  // The temporary file's name while there is one; empty otherwise.
  const std::string& temporaryPath() const { return temporaryPath_; }

 private:
  static constexpr std::intptr_t kClosed = -1;
  // Takes a file opened to be written in place (or kClosed when it could not be opened).
  bool adoptInPlace(std::intptr_t handle) {
    if (handle == kClosed) return false;
    handle_ = handle;
    return true;
  }
  // Takes a freshly made temporary file (or kClosed when none could be made).
  bool adoptTemporary(std::intptr_t handle) {
    replacing_ = adoptInPlace(handle);
    return replacing_;
  }

  std::intptr_t handle_ = kClosed;  // a descriptor (POSIX) or a HANDLE (Windows)
  bool failed_ = false;
  bool replacing_ = false;
  bool syncInPlace_ = false;  // a regular file written in place is synced as well
  // Windows: the attributes the replacement takes over from the old book (POSIX sets the mode
  // as the temporary file is made).
  std::uint32_t keptAttributes_ = 0;
  // Bytes written, and how many of them the disk has been asked to take already (Linux starts
  // writing a book out while the rest is still being made, so the final sync waits less).
  std::uint64_t written_ = 0;
  std::uint64_t writeBackStarted_ = 0;
  std::string finalPath_;
  std::string temporaryPath_;
};

// Test seam, like the heap's: while an instance lives, the given occurrence (counted from 1) of
// one step of writing a book fails as the system call would. Scopes do not nest.
enum class OutputStep { Write, Sync, Close, Rename };

class OutputFaultScope {
 public:
  OutputFaultScope(OutputStep step, long occurrence);
  ~OutputFaultScope();
  OutputFaultScope(const OutputFaultScope&) = delete;
  OutputFaultScope& operator=(const OutputFaultScope&) = delete;
};

// For the implementations: counts one occurrence of `step`; true when it must fail.
bool outputStepFails(OutputStep step);

}  // namespace velmar::platform
