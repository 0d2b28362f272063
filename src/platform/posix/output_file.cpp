// The book file's system work on POSIX (see output_primitives.h): what a name leads to, the
// temporary file (recorded in live_temporary.cpp, so no ending leaves it behind), and carrying
// the old book's owner, mode, access list and extended attributes over.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "extended_attributes.h"
#include "live_temporary.h"
#include "platform/output_primitives.h"

#if defined(__linux__)
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

namespace velmar::platform::output {
namespace {

// --- Names -------------------------------------------------------------------------------------

// The folder part of `path`, up to and with its last slash ("" for none).
std::string folderPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The folder itself, for the system calls that take one.
std::string folderOrDot(const std::string& folder) { return folder.empty() ? "." : folder; }

std::string canonicalFolder(const std::string& folder) {
  char* resolved = realpath(folderOrDot(folder).c_str(), nullptr);
  if (resolved == nullptr) return std::string();
  std::string result(resolved);
  std::free(resolved);
  return result;
}

// The descriptor `path` names when it is a number in this process's own descriptor folder,
// however that folder is spelled (/dev/fd, /proc/self/fd, //proc/./self/fd, a link to it); -1
// otherwise.
int descriptorNamed(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return -1;
  const std::string digits = path.substr(slash + 1);
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  const std::string folder = canonicalFolder(path.substr(0, slash + 1));
  if (folder.empty()) return -1;
  const int number = static_cast<int>(std::strtol(digits.c_str(), nullptr, 10));  // 9 digits fit
  for (const char* own : {"/proc/self/fd", "/proc/thread-self/fd", "/dev/fd"}) {
    if (folder == canonicalFolder(own)) return number;
  }
  return -1;
}

// Follows the symbolic links from `path` to the name the book will finally have (which need not
// exist yet). Stops early at the name of a descriptor the program holds and returns it in
// `descriptor`. False for a loop of links.
bool followLinks(const std::string& path, std::string& target, int& descriptor) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    descriptor = descriptorNamed(current);
    if (descriptor >= 0) return true;
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = current;
      return true;
    }
    char link[PATH_MAX];
    const ssize_t length = readlink(current.c_str(), link, sizeof link - 1);
    if (length <= 0) return false;
    const std::string next(link, static_cast<std::size_t>(length));
    if (next[0] == '/') {
      current = next;
    } else {
      current = folderPart(current);
      current += next;
    }
  }
  errno = ELOOP;
  return false;
}

// --- Why a rename could not take the book's place ------------------------------------------------

#if defined(__linux__)
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

bool appendOnly(int folder) {
  int flags = 0;
  return ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_APPEND_FL) != 0;
}
#else
bool sameMount(int, int) { return true; }
bool appendOnly(int) { return false; }
#endif

// True when the folder would refuse to let another file take the name of `book` (-1: none yet).
bool renameRefusedIn(const std::string& folder, int book, const struct stat* bookInfo) {
  const int opened = ::open(folderOrDot(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (opened < 0) return false;
  struct stat folderInfo {};
  bool refused = fstat(opened, &folderInfo) == 0 && appendOnly(opened);
  if (bookInfo != nullptr && !refused) {
    const uid_t user = geteuid();
    // In a sticky folder only the book's owner, the folder's owner or root may rename over it.
    refused = ((folderInfo.st_mode & S_ISVTX) != 0 && user != 0 && bookInfo->st_uid != user &&
               folderInfo.st_uid != user) ||
              // A mount point (a bind-mounted file, say) cannot be renamed over.
              bookInfo->st_dev != folderInfo.st_dev || !sameMount(book, opened);
  }
  static_cast<void>(::close(opened));
  return refused;
}

bool openStream(const char* path, Target& target) {
  target.kind = TargetKind::Stream;
  target.handle = openAsItStands(path);
  return target.handle != kNoHandle;
}

}  // namespace

// --- The primitives ------------------------------------------------------------------------------

bool inspectTarget(const char* path, Target& target) {
  std::string final;
  int descriptor = -1;
  if (!followLinks(path, final, descriptor)) return false;
  if (descriptor >= 0) {
    // Standard output and its kind: written through the descriptor itself, so a file opened for
    // appending (>>) is appended to, and nothing is truncated, replaced or removed.
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0 && (flags & O_ACCMODE) != O_RDONLY) {
      target.kind = TargetKind::Stream;
      target.handle = fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
      return target.handle != kNoHandle;
    }
    // Not open for writing: the name is still no book to replace or remove.
    return openStream(path, target);
  }
  target.folder = folderPart(final);
  target.name = final.substr(target.folder.size());

  struct stat info {};
  if (stat(final.c_str(), &info) != 0) {
    if (errno != ENOENT) return false;
    target.kind = TargetKind::NewFile;
    target.renameRefused = renameRefusedIn(target.folder, -1, nullptr);
    return true;
  }
  // A device, a pipe, a socket: written as it is. A folder fails here.
  if (!S_ISREG(info.st_mode)) return openStream(path, target);

  // Whether the book may be written at all is its own permission, as for overwriting it: a
  // read-only book is refused, not replaced.
  const int book = ::open(final.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (book < 0) return false;
  if (fstat(book, &info) != 0) {
    static_cast<void>(::close(book));
    return false;
  }
  target.kind = TargetKind::Book;
  target.handle = book;
  target.otherLinks = info.st_nlink > 1;
  target.renameRefused = renameRefusedIn(target.folder, book, &info);
  return true;
}

Handle openAsItStands(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
}

bool truncateFile(Handle file) { return ftruncate(static_cast<int>(file), 0) == 0; }

Created createTemporary(const std::string& path, bool replacing, Handle& file) {
  if (path.size() >= kLiveNameRoom) return Created::Failed;
  // A new book is created as any new file is (0666 less the umask, or the folder's default
  // access list); a replacement starts private and is given the old book's access below.
  const mode_t mode = replacing ? 0600 : 0666;
  const SignalsHeld held;
  const int made = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
  if (made < 0) {
    if (errno == EEXIST) return Created::NameTaken;
    return errno == EACCES || errno == EPERM || errno == EROFS ? Created::FolderRefuses
                                                               : Created::Failed;
  }
  armCleanup(path);
  file = made;
  return Created::Yes;
}

bool carryOver(const Target& target, Handle temporary) {
  const int book = static_cast<int>(target.handle);
  const int made = static_cast<int>(temporary);
  struct stat info {};
  // Owner and group first: changing them may clear the set-id bits of the mode. A book whose
  // owner or group the new file cannot take must not pass to other hands.
  return fstat(book, &info) == 0 && fchown(made, info.st_uid, info.st_gid) == 0 &&
         copyExtendedAttributes(book, made) && fchmod(made, info.st_mode & 07777) == 0;
}

bool renameTemporary(const std::string& temporaryPath, const std::string& finalPath,
                     bool /*replacing*/) {
  const SignalsHeld held;
  if (std::rename(temporaryPath.c_str(), finalPath.c_str()) != 0) return false;
  disarmCleanup();
  return true;
}

void removeTemporary(const std::string& temporaryPath) {
  const SignalsHeld held;
  static_cast<void>(unlink(temporaryPath.c_str()));
  disarmCleanup();
}

bool writeAll(Handle file, const char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(static_cast<int>(file), bytes, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;  // a full disk (ENOSPC), a file-size limit (EFBIG), an I/O error
    }
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

void startWriteBack(Handle file, std::uint64_t offset, std::uint64_t count) {
#if defined(__linux__)
  static_cast<void>(sync_file_range(static_cast<int>(file), static_cast<off64_t>(offset),
                                    static_cast<off64_t>(count), SYNC_FILE_RANGE_WRITE));
#else
  static_cast<void>(file);
  static_cast<void>(offset);
  static_cast<void>(count);
#endif
}

bool syncFile(Handle file) { return fsync(static_cast<int>(file)) == 0; }

bool closeFile(Handle file) { return ::close(static_cast<int>(file)) == 0; }

void syncFolder(const std::string& folder) {
  const int opened = ::open(folderOrDot(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (opened < 0) return;
  static_cast<void>(fsync(opened));
  static_cast<void>(::close(opened));
}

std::uint64_t processNumber() { return static_cast<std::uint64_t>(getpid()); }

}  // namespace velmar::platform::output
