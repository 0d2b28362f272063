#pragma once
// Which file an open file is, whatever name it was opened by: two names, links or handles of one
// file have the same identity. The program uses it to refuse writing the book over its own
// database, comparing the database it has open with the file the book would go to.

#include <cstdint>

namespace velmar::platform {

struct FileIdentity {
  std::uint64_t volume = 0;  // the device (POSIX) or the volume serial number (Windows)
  std::uint64_t file = 0;    // the inode (POSIX) or the file index (Windows)

  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.volume == b.volume && a.file == b.file;
  }
};

// The identity of the open file `handle` (a descriptor on POSIX, a HANDLE on Windows). False
// when the system cannot tell.
bool identityOfOpenFile(std::intptr_t handle, FileIdentity& result);

}  // namespace velmar::platform
