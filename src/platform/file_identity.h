#pragma once
// Which file a name or an open file is, whatever the spelling: two names, links or handles of one
// file have the same identity. The program uses it to refuse writing the book over its own
// database.

#include <cstdint>

namespace velmar::platform {

struct FileIdentity {
  std::uint64_t volume = 0;  // the device (POSIX) or the volume serial number (Windows)
  std::uint64_t file = 0;    // the inode (POSIX) or the file index (Windows)

  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.volume == b.volume && a.file == b.file;
  }
};

// The identity of the file `path` names, symbolic links followed. False when it names none (or
// the system cannot tell).
bool identityOfPath(const char* path, FileIdentity& result);

}  // namespace velmar::platform
