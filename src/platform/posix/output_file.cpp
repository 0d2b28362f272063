// The book file's system work on POSIX (see output_primitives.h): what a name leads to, the
// temporary file in the book's folder (recorded in live_temporary.cpp, so no ending leaves it
// behind), and carrying the old book's owner, mode, access list and extended attributes over.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "descriptor_names.h"
#include "extended_attributes.h"
#include "live_temporary.h"
#include "system_calls.h"
#include "platform/output_primitives.h"
#include "platform/patience.h"

namespace velmar::platform::output {
namespace {

// A folder is held only to find names in it, which needs no permission to read it.
constexpr int kFolderOpenFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

int fileOf(Handle handle) { return static_cast<int>(handle); }

// A metadata call the file system does not support: nothing to carry over, not a refusal.
bool unsupported(int error) { return error == ENOSYS || error == EOPNOTSUPP; }

// --- Why a rename could not take the book's place ------------------------------------------------

// Read without opening the folder for reading, which a folder one may write to but not list
// (mode 0333) refuses.
bool appendOnly(int folder) {
  struct statx info {};
  return statx(folder, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &info) == 0 &&
         (info.stx_attributes_mask & info.stx_attributes & STATX_ATTR_APPEND) != 0;
}

bool sameMount(int book, int folder) {
  struct statx bookInfo {};
  struct statx folderInfo {};
  if (statx(book, "", AT_EMPTY_PATH, STATX_MNT_ID, &bookInfo) != 0 ||
      statx(folder, "", AT_EMPTY_PATH, STATX_MNT_ID, &folderInfo) != 0 ||
      (bookInfo.stx_mask & folderInfo.stx_mask & STATX_MNT_ID) == 0) {
    return true;  // the system cannot tell; the devices still can
  }
  return bookInfo.stx_mnt_id == folderInfo.stx_mnt_id;
}

// True when the folder would refuse to let another file take the place of `book`.
bool renameRefused(int folder, int book, const struct stat& bookInfo) {
  struct stat folderInfo {};
  if (fstat(folder, &folderInfo) != 0 || appendOnly(folder)) return true;
  const uid_t user = geteuid();
  // In a sticky folder only the book's owner, the folder's owner or root may rename over it.
  return ((folderInfo.st_mode & S_ISVTX) != 0 && user != 0 && bookInfo.st_uid != user &&
          folderInfo.st_uid != user) ||
         // A mount point (a bind-mounted file, say) cannot be renamed over.
         bookInfo.st_dev != folderInfo.st_dev || !sameMount(book, folder);
}

// A name of a descriptor the program holds: written through the descriptor itself, so a file
// opened for appending (>>) is appended to, and nothing is truncated, replaced or removed. One
// open only for reading is refused, never opened anew by its name.
bool inspectDescriptor(int descriptor, Target& target) {
  target.plan = Plan::Stream;
  target.identityKnown = identityOfOpenFile(descriptor, target.identity);
  target.file = heldDescriptorFor(descriptor, true);
  return target.file != kNoHandle;
}

}  // namespace

// --- The primitives ------------------------------------------------------------------------------

bool inspectTarget(const char* path, Target& target) {
  std::string final;
  int descriptor = -1;
  if (!followLinks(path, final, descriptor)) return false;
  if (descriptor >= 0) return inspectDescriptor(descriptor, target);
  const std::string folder = folderPart(final);
  target.name = final.substr(folder.size());
  target.folderHandle = ::open(folder.empty() ? "." : folder.c_str(), kFolderOpenFlags);
  if (target.name.empty() || target.folderHandle == kNoHandle) return false;

  // Whether the book may be written at all is its own permission, as for overwriting it: a
  // read-only book is refused, not replaced; so are a folder, a socket and a link put there
  // meanwhile. Read too where it may be, so that a book rewritten in place can be copied aside.
  const int held = fileOf(target.folderHandle);
  const char* const name = target.name.c_str();
  int opened = openat(held, name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
  if (opened < 0 && errno == EACCES) {
    opened = openat(held, name, O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
  }
  if (opened < 0) {
    if (errno != ENOENT) return false;
    // A folder that would keep a temporary file but never let it take the book's name: the book
    // is made where it will stay.
    target.plan = appendOnly(fileOf(target.folderHandle)) ? Plan::InPlace : Plan::ThroughTemporary;
    return true;
  }
  target.file = opened;
  struct stat info {};
  if (fstat(opened, &info) != 0) return false;
  target.identityKnown = identityOfOpenFile(opened, target.identity);
  if (!S_ISREG(info.st_mode)) {
    target.plan = Plan::Stream;  // a device or a pipe: written as it is
    return true;
  }
  // Root may open any file for writing; a book nobody may write is refused all the same.
  if ((info.st_mode & 0222) == 0) return false;
  target.replacing = true;
  // Other hard links must go on seeing the book.
  target.plan = info.st_nlink > 1 || renameRefused(fileOf(target.folderHandle), opened, info)
                    ? Plan::InPlace
                    : Plan::ThroughTemporary;
  return true;
}

Handle createInPlace(const Target& target) {
  return openat(fileOf(target.folderHandle), target.name.c_str(),
                O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW, 0666);
}

bool lockForRewrite(Handle file) {
  for (;;) {
    if (flock(fileOf(file), LOCK_EX | LOCK_NB) == 0) return true;
    // A file system without such locks still lets the book be written, as it always was.
    if (errno != EWOULDBLOCK && errno != EINTR) return true;
    if (!waitBeforeRetrying()) return false;
  }
}

bool emptyFile(Handle file) {
  return ftruncate(fileOf(file), 0) == 0 && lseek(fileOf(file), 0, SEEK_SET) == 0;
}

Created createTemporary(const Target& target, const std::string& name, Handle& file) {
  if (name.size() >= kLiveNameRoom) return Created::Failed;
  // A new book is created as any new file is (0666 less the umask, or the folder's default
  // access list); a replacement starts private and is given the old book's access below.
  const mode_t mode = target.replacing ? 0600 : 0666;
  const SignalsHeld held;
  const int made = openat(fileOf(target.folderHandle), name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
  if (made < 0) {
    if (errno == EEXIST) return Created::NameTaken;
    return errno == EACCES || errno == EPERM || errno == EROFS ? Created::FolderRefuses
                                                               : Created::Failed;
  }
  armCleanup(fileOf(target.folderHandle), name);
  file = made;
  return Created::Yes;
}

bool carryOver(const Target& target, Handle temporary) {
  const int book = fileOf(target.file);
  const int made = fileOf(temporary);
  struct stat info {};
  struct stat madeInfo {};
  if (fstat(book, &info) != 0 || fstat(made, &madeInfo) != 0) return false;
  // Owner and group first: changing them may clear the set-id bits of the mode. A book whose
  // owner or group the new file cannot take must not pass to other hands; but what is so already
  // needs no asking, and a file system that keeps no owners (FAT, many FUSE mounts) has none to
  // give away.
  const bool sameOwner = info.st_uid == madeInfo.st_uid && info.st_gid == madeInfo.st_gid;
  return (sameOwner || fchown(made, info.st_uid, info.st_gid) == 0 || unsupported(errno)) &&
         copyExtendedAttributes(book, made) &&
         ((info.st_mode & 07777) == (madeInfo.st_mode & 07777) ||
          fchmod(made, info.st_mode & 07777) == 0 || unsupported(errno));
}

bool putTemporaryInPlace(const Target& target, const std::string& name, Handle& file) {
  const bool closed = closeFile(file);
  file = kNoHandle;
  if (!closed) return false;
  const SignalsHeld held;
  const int folder = fileOf(target.folderHandle);
  if (system::renameat(folder, name.c_str(), folder, target.name.c_str()) != 0) return false;
  disarmCleanup();
  // The new name must reach the disk too. The held folder cannot be synced itself, a folder one
  // may not list not at all, and some file systems refuse it: the book is in place either way.
  const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listed >= 0) {
    static_cast<void>(fsync(listed));
    static_cast<void>(::close(listed));
  }
  return true;
}

void removeTemporary(const Target& target, const std::string& name, Handle& file) {
  release(file);
  file = kNoHandle;
  const SignalsHeld held;
  static_cast<void>(unlinkat(fileOf(target.folderHandle), name.c_str(), 0));
  disarmCleanup();
}

Handle makeScratchFile(std::string& path) {
  const char* folder = std::getenv("TMPDIR");
  path = folder != nullptr && folder[0] == '/' ? folder : "/tmp";
  path += "/velmar2fb2-old-book-XXXXXX";
  const int made = mkostemp(&path[0], O_CLOEXEC);
  return made < 0 ? kNoHandle : made;
}

bool copyWhole(Handle from, Handle to) {
  static char buffer[64 * 1024];  // off the stack: the program runs in small stacks too
  if (!emptyFile(to)) return false;
  for (off_t at = 0;;) {
    const ssize_t count = pread(fileOf(from), buffer, sizeof buffer, at);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) return true;
    for (ssize_t done = 0; done < count;) {
      const ssize_t written =
          pwrite(fileOf(to), buffer + done, static_cast<std::size_t>(count - done), at + done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      done += written;
    }
    at += count;
  }
}

void removeScratchFile(Handle file, const std::string& path) {
  release(file);
  static_cast<void>(unlink(path.c_str()));
}

void holdEndings() { holdSignals(); }
void releaseEndings() { releaseSignals(); }

Handle duplicate(Handle file) {
  const int copy = fcntl(fileOf(file), F_DUPFD_CLOEXEC, 3);
  return copy < 0 ? kNoHandle : copy;
}

bool writeAll(Handle file, const char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t written = system::write(fileOf(file), bytes, count);
    if (written < 0 && errno == EINTR) continue;
    // A full disk (ENOSPC), a file-size limit (EFBIG), an I/O error; or no progress at all,
    // which trying again would only repeat.
    if (written <= 0) return false;
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

void startWriteBack(Handle file, std::uint64_t offset, std::uint64_t count) {
  static_cast<void>(sync_file_range(fileOf(file), static_cast<off64_t>(offset),
                                    static_cast<off64_t>(count), SYNC_FILE_RANGE_WRITE));
}

bool syncFile(Handle file) { return system::fsync(fileOf(file)) == 0; }

bool closeFile(Handle file) { return system::close(fileOf(file)) == 0; }

void release(Handle handle) {
  if (handle != kNoHandle) static_cast<void>(::close(fileOf(handle)));
}

std::uint64_t processNumber() { return static_cast<std::uint64_t>(getpid()); }

}  // namespace velmar::platform::output
