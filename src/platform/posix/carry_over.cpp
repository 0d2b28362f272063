// carryOver() on POSIX: the old book's owner, group, mode and extended attributes (its access
// list, system.posix_acl_access, among them) given to the temporary file.

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/output_primitives.h"

namespace velmar::platform::output {
namespace {

// A metadata call the file system does not support: nothing to carry over, not a refusal.
bool unsupported(int error) { return error == ENOSYS || error == EOPNOTSUPP; }

// The value of the extended attribute `name` of `file`; or, `name` null, the names of its
// extended attributes, each ending in a NUL (none where the file system keeps none).
bool readAttributes(int file, const char* name, std::string& bytes) {
  const auto ask = [&](char* into, std::size_t room) {
    return name == nullptr ? flistxattr(file, into, room) : fgetxattr(file, name, into, room);
  };
  for (;;) {
    const ssize_t size = ask(nullptr, 0);
    if (size < 0) return name == nullptr && errno == ENOTSUP;
    bytes.resize(static_cast<std::size_t>(size));
    const ssize_t count = ask(&bytes[0], bytes.size());
    if (count >= 0) {
      bytes.resize(static_cast<std::size_t>(count));
      return true;
    }
    if (errno != ERANGE) return false;  // grown meanwhile: ask again
  }
}

// Exactly the book's attributes; a security label the system gave the new file is left alone
// where it already matches.
bool copyExtendedAttributes(int book, int temporary) {
  std::string bookNames;
  std::string temporaryNames;
  if (!readAttributes(book, nullptr, bookNames)) return false;
  if (!readAttributes(temporary, nullptr, temporaryNames)) return false;
  std::string value;
  std::string present;
  for (std::size_t at = 0; at < bookNames.size(); at += std::strlen(&bookNames[at]) + 1) {
    const char* name = &bookNames[at];
    if (!readAttributes(book, name, value)) return false;
    if (readAttributes(temporary, name, present) && present == value) continue;
    if (fsetxattr(temporary, name, value.data(), value.size(), 0) != 0) return false;
  }
  // What the folder's default access list gave the new file, the old book did not have.
  const std::string bookList = '\0' + bookNames;  // each name between two NULs
  for (std::size_t at = 0; at < temporaryNames.size(); at += std::strlen(&temporaryNames[at]) + 1) {
    const char* name = &temporaryNames[at];
    const bool onBook = bookList.find('\0' + std::string(name) + '\0') != std::string::npos;
    if (std::strncmp(name, "security.", 9) == 0 || onBook) continue;
    if (fremovexattr(temporary, name) != 0) return false;
  }
  return true;
}

}  // namespace

bool carryOver(const Target& target, Handle temporary) {
  const int book = static_cast<int>(target.file);
  const int made = static_cast<int>(temporary);
  struct stat info {};
  struct stat madeInfo {};
  if (fstat(book, &info) != 0 || fstat(made, &madeInfo) != 0) return false;
  // Owner and group first: changing them may clear the set-id bits of the mode. What is so
  // already needs no asking, and a file system that keeps no owners (FAT, many FUSE mounts) has
  // none to give away.
  const bool sameOwner = info.st_uid == madeInfo.st_uid && info.st_gid == madeInfo.st_gid;
  return (sameOwner || fchown(made, info.st_uid, info.st_gid) == 0 || unsupported(errno)) &&
         copyExtendedAttributes(book, made) &&
         ((info.st_mode & 07777) == (madeInfo.st_mode & 07777) ||
          fchmod(made, info.st_mode & 07777) == 0 || unsupported(errno));
}

}  // namespace velmar::platform::output
