// The book file's system work on POSIX (output_primitives.h), but for the temporary file
// (live_temporary.cpp) and what it is given of the old book (carry_over.cpp).

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "descriptor_names.h"
#include "system_calls.h"
#include "platform/output_primitives.h"
#include "platform/patience.h"

namespace velmar::platform::output {
namespace {

int fileOf(Handle handle) { return static_cast<int>(handle); }

// statx, unlike opening the folder for reading, works in a folder one may write to but not list.
bool appendOnly(int folder) {
  struct statx info {};
  return statx(folder, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &info) == 0 &&
         (info.stx_attributes_mask & info.stx_attributes & STATX_ATTR_APPEND) != 0;
}

// Where the system cannot tell the mounts apart, the devices still can.
bool sameMount(int book, int folder) {
  struct statx bookInfo {};
  struct statx folderInfo {};
  return statx(book, "", AT_EMPTY_PATH, STATX_MNT_ID, &bookInfo) != 0 ||
         statx(folder, "", AT_EMPTY_PATH, STATX_MNT_ID, &folderInfo) != 0 ||
         (bookInfo.stx_mask & folderInfo.stx_mask & STATX_MNT_ID) == 0 ||
         bookInfo.stx_mnt_id == folderInfo.stx_mnt_id;
}

// True when the folder would refuse to let another file take the place of `book`: it is
// append-only; it is sticky, where only the book's owner, the folder's owner or root may rename
// over the book; the book is a mount point (a bind-mounted file, say).
bool renameRefused(int folder, int book, const struct stat& bookInfo) {
  struct stat folderInfo {};
  if (fstat(folder, &folderInfo) != 0 || appendOnly(folder)) return true;
  const uid_t user = geteuid();
  return ((folderInfo.st_mode & S_ISVTX) != 0 && user != 0 && bookInfo.st_uid != user &&
          folderInfo.st_uid != user) ||
         bookInfo.st_dev != folderInfo.st_dev || !sameMount(book, folder);
}

// The system's write for the copies of a book rewritten in place, system::write for the book:
// the tests fail only the book's own writes on cue.
bool writeAllWith(ssize_t (*write)(int, const void*, std::size_t), int file, const char* bytes,
                  std::size_t count) {
  while (count > 0) {
    const ssize_t written = write(file, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;  // no progress, which trying again would only repeat
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

bool inspectTarget(const char* path, Target& target) {
  std::string final;
  int descriptor = -1;
  if (!followLinks(path, final, descriptor)) return false;
  if (descriptor >= 0) {
    // Written through the descriptor itself: >> appends, nothing is truncated or replaced.
    target.plan = Plan::Stream;
    target.identityKnown = identityOfOpenFile(descriptor, target.identity);
    target.file = heldDescriptorFor(descriptor, true);
    return target.file != kNoHandle;
  }
  const std::string folder = folderPart(final);
  target.name = final.substr(folder.size());
  // Held only to find names in, which needs no permission to read the folder.
  const int held = ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  target.folderHandle = held;
  if (target.name.empty() || held < 0) return false;

  // Opened for writing, so that a read-only book is refused, not replaced (and so are a folder,
  // a socket and a link put there meanwhile); for reading too where it may be, to copy it aside.
  const char* const name = target.name.c_str();
  int opened = openat(held, name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
  if (opened < 0 && errno == EACCES) {
    opened = openat(held, name, O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
  }
  if (opened < 0) {
    if (errno != ENOENT) return false;
    // An append-only folder would keep a temporary file but never let it take the book's name.
    target.plan = appendOnly(held) ? Plan::InPlace : Plan::ThroughTemporary;
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
  target.plan = info.st_nlink > 1 || renameRefused(held, opened, info) ? Plan::InPlace
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

Handle makeScratchFile(std::string& path) {
  const char* folder = std::getenv("TMPDIR");
  path = folder != nullptr && folder[0] == '/' ? folder : "/tmp";
  path += "/velmar2fb2-old-book-XXXXXX";
  return mkostemp(&path[0], O_CLOEXEC);
}

bool copyWhole(Handle from, Handle to) {
  static char buffer[64 * 1024];  // off the stack: the program runs in small stacks too
  if (!emptyFile(to)) return false;
  for (off_t at = 0;;) {
    const ssize_t count = pread(fileOf(from), buffer, sizeof buffer, at);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return count == 0;
    if (!writeAllWith(::write, fileOf(to), buffer, static_cast<std::size_t>(count))) return false;
    at += count;
  }
}

void removeScratchFile(Handle file, const std::string& path) {
  release(file);
  static_cast<void>(unlink(path.c_str()));
}

Handle duplicate(Handle file) { return fcntl(fileOf(file), F_DUPFD_CLOEXEC, 3); }

bool writeAll(Handle file, const char* bytes, std::size_t count) {
  return writeAllWith(system::write, fileOf(file), bytes, count);
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
