#pragma once
// Which file an open file is, whatever name it was opened by: two names, links or handles of one
// file have the same identity. The program uses it to refuse writing the book over its own
// database, comparing the database it has open with the file the book would go to.

#include <cstdint>

namespace velmar::platform {

struct FileIdentity {
  std::uint64_t volume = 0;  // the device (POSIX) or the volume serial number (Windows)
  std::uint64_t file = 0;    // the inode (POSIX) or the file index (Windows)
  // A layered mount (overlayfs) shows a file of a layer under its own device, but with the
  // layer's inode number: one file then has two volumes. The time of its last change, to the
  // nanosecond, which no program can set, tells that it is the same file.
  bool layered = false;
  std::uint64_t changed = 0;

  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.file == b.file &&
           (a.volume == b.volume || ((a.layered || b.layered) && a.changed == b.changed));
  }
};

// The identity of the open file `handle` (a descriptor on POSIX, a HANDLE on Windows). False
// when the system cannot tell.
bool identityOfOpenFile(std::intptr_t handle, FileIdentity& result);

}  // namespace velmar::platform
