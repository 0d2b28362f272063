#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace velmar::platform {
namespace {

// --- The temporary file and the signals that must not leave it behind ---------------------------

// Room for the longest name open() accepts, plus the temporary suffix.
constexpr std::size_t kPathRoom = 4096 + 64;

// Read by the signal handler, so prepared before the file exists and never reallocated.
char pendingTemporary[kPathRoom];
volatile std::sig_atomic_t temporaryPending = 0;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[sizeof kCleanupSignals / sizeof kCleanupSignals[0]];
bool handlersInstalled[sizeof kCleanupSignals / sizeof kCleanupSignals[0]];

// Removes the temporary book, then dies of the signal as if it had not been caught, so the
// caller still sees what happened. Only async-signal-safe calls.
extern "C" void removeTemporaryAndDie(int signalNumber) {
  if (temporaryPending != 0) static_cast<void>(unlink(pendingTemporary));
  static_cast<void>(signal(signalNumber, SIG_DFL));
  static_cast<void>(raise(signalNumber));
}

// Holds the cleanup signals back while the temporary file changes hands.
class CleanupSignalsBlocked {
 public:
  CleanupSignalsBlocked() {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int number : kCleanupSignals) sigaddset(&blocked, number);
    sigprocmask(SIG_BLOCK, &blocked, &previous_);
  }
  ~CleanupSignalsBlocked() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  CleanupSignalsBlocked(const CleanupSignalsBlocked&) = delete;
  CleanupSignalsBlocked& operator=(const CleanupSignalsBlocked&) = delete;

 private:
  sigset_t previous_{};
};

void installCleanupHandlers() {
  for (std::size_t index = 0; index < sizeof kCleanupSignals / sizeof kCleanupSignals[0]; ++index) {
    struct sigaction current {};
    sigaction(kCleanupSignals[index], nullptr, &current);
    // A signal the caller has us ignore (nohup) stays ignored.
    handlersInstalled[index] = current.sa_handler != SIG_IGN;
    if (!handlersInstalled[index]) continue;
    struct sigaction cleanup {};
    cleanup.sa_handler = removeTemporaryAndDie;
    sigemptyset(&cleanup.sa_mask);
    sigaction(kCleanupSignals[index], &cleanup, &previousActions[index]);
  }
}

void restoreHandlers() {
  for (std::size_t index = 0; index < sizeof kCleanupSignals / sizeof kCleanupSignals[0]; ++index) {
    if (handlersInstalled[index])
      sigaction(kCleanupSignals[index], &previousActions[index], nullptr);
    handlersInstalled[index] = false;
  }
}

// --- Names ---------------------------------------------------------------------------------------

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The descriptor a name such as /proc/self/fd/3 or /dev/fd/3 stands for, or -1.
int descriptorNamed(const std::string& path) {
  static const char* const kDescriptorFolders[] = {"/proc/self/fd/", "/proc/thread-self/fd/",
                                                   "/dev/fd/"};
  const std::string ownFolder = "/proc/" + std::to_string(getpid()) + "/fd/";
  std::string digits;
  for (const char* folder : kDescriptorFolders) {
    if (path.compare(0, std::strlen(folder), folder) == 0)
      digits = path.substr(std::strlen(folder));
  }
  if (path.compare(0, ownFolder.size(), ownFolder) == 0) digits = path.substr(ownFolder.size());
  if (digits.empty() || digits.size() > 6 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  return static_cast<int>(std::strtol(digits.c_str(), nullptr, 10));
}

// Follows the symbolic links from `path` to the name the book will finally have (which need not
// exist yet). Stops early at the name of a descriptor the program holds and returns it in
// `descriptor` (/dev/stdout leads to /proc/self/fd/1). False for a loop of links.
bool followLinks(const std::string& path, std::string& target, int& descriptor) {
  std::string current = path;
  descriptor = -1;
  for (int hop = 0; hop < 40; ++hop) {
    descriptor = descriptorNamed(current);
    if (descriptor >= 0) return true;
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = current;
      return true;
    }
    char link[kPathRoom];
    const ssize_t length = readlink(current.c_str(), link, sizeof link - 1);
    if (length < 0) return false;
    const std::string next(link, static_cast<std::size_t>(length));
    if (next[0] == '/') {
      current = next;
    } else {
      current = directoryOf(current);
      current += '/';
      current += next;
    }
  }
  errno = ELOOP;
  return false;
}

bool writeAll(int descriptor, const char* bytes, std::size_t count) {
  while (count > 0) {
    if (outputStepFails(OutputStep::Write)) {
      errno = EIO;
      return false;
    }
    const ssize_t written = ::write(descriptor, bytes, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;  // a full disk (ENOSPC), a file-size limit (EFBIG), an I/O error
    }
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

int syncFile(int descriptor) {
  if (outputStepFails(OutputStep::Sync)) {
    errno = EIO;
    return -1;
  }
  return fsync(descriptor);
}

int closeFile(int descriptor) {
  const int result = ::close(descriptor);
  if (outputStepFails(OutputStep::Close)) {
    errno = EIO;
    return -1;
  }
  return result;
}

int renameFile(const char* from, const char* to) {
  if (outputStepFails(OutputStep::Rename)) {
    errno = EIO;
    return -1;
  }
  return std::rename(from, to);
}

// Six letters and digits that differ from run to run and from try to try.
void fillRandomSuffix(char* suffix, unsigned attempt) {
  static const char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  struct timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  unsigned long long seed = static_cast<unsigned long long>(now.tv_nsec) ^
                            (static_cast<unsigned long long>(now.tv_sec) << 30) ^
                            (static_cast<unsigned long long>(getpid()) << 12) ^
                            (attempt * 0x9E3779B97F4A7C15ull);
  for (int index = 0; index < 6; ++index) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    suffix[index] = kDigits[(seed >> 33) % (sizeof kDigits - 1)];
  }
}

// Makes the temporary book beside `finalPath` (".NAME.XXXXXX") and arms the signal handlers
// that remove it; `keep` is the book it will replace, whose mode, owner and group it takes.
// The descriptor, or -1 with errno set.
int createTemporary(const std::string& finalPath, const struct stat* keep,
                    std::string& temporaryPath) {
  // The base name is cut short where needed, so a long book name still leaves room for ours.
  const std::string base = baseNameOf(finalPath).substr(0, 200);
  const std::string pattern = directoryOf(finalPath) + "/." + base + ".XXXXXX";
  if (pattern.size() >= kPathRoom) {
    errno = ENAMETOOLONG;
    return -1;
  }
  // A new book is created as any new file is (0666 less the umask, or the folder's default
  // ACL); a replacement starts private and takes the old book's mode below.
  const mode_t creationMode = keep != nullptr ? 0600 : 0666;
  int descriptor = -1;
  {
    const CleanupSignalsBlocked blocked;
    for (unsigned attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
      std::memcpy(pendingTemporary, pattern.c_str(), pattern.size() + 1);
      fillRandomSuffix(pendingTemporary + pattern.size() - 6, attempt);
      descriptor = ::open(pendingTemporary, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                          creationMode);
      if (descriptor < 0 && errno != EEXIST) return -1;
    }
    if (descriptor < 0) return -1;
    temporaryPending = 1;
    installCleanupHandlers();
  }
  temporaryPath = pendingTemporary;
  if (keep != nullptr) {
    // Owner and group first: changing them may clear the set-id bits of the mode.
    static_cast<void>(fchown(descriptor, keep->st_uid, keep->st_gid));
    static_cast<void>(fchmod(descriptor, keep->st_mode & 07777));
  }
  return descriptor;
}

// Opens the name for writing as it stands, truncated, with no temporary file: a device, a pipe,
// the name of a descriptor not open for writing. The descriptor, or -1.
int openAsItStands(const char* path) {
  return ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
}

}  // namespace

OutputFile::~OutputFile() {
  if (handle_ != kClosed || !temporaryPath_.empty()) abandon();
}

bool OutputFile::open(const char* path) {
  // A file-size limit is a write error to report like any other, not a reason to die silently.
  static_cast<void>(signal(SIGXFSZ, SIG_IGN));
  failed_ = false;
  replacing_ = false;
  syncInPlace_ = false;
  written_ = 0;
  writeBackStarted_ = 0;

  std::string target;
  int descriptor = -1;
  if (!followLinks(path, target, descriptor)) return false;

  if (descriptor >= 0) {
    // Standard output and its kind: write through the descriptor itself, so a file opened for
    // appending (>>) is appended to, and nothing is truncated, replaced or removed.
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0 && (flags & O_ACCMODE) != O_RDONLY) {
      return adoptInPlace(fcntl(descriptor, F_DUPFD_CLOEXEC, 3));
    }
    // Not open for writing (or not open): the name is still no book to replace or remove, so
    // it is written in place, as a device is.
    return adoptInPlace(openAsItStands(path));
  }

  struct stat existing {};
  if (stat(target.c_str(), &existing) != 0) {
    if (errno != ENOENT) return false;
    // A new book: made beside its final name and renamed into place.
    finalPath_ = target;
    return adoptTemporary(createTemporary(finalPath_, nullptr, temporaryPath_));
  }
  // A device, a pipe, a socket: written as it is. A folder fails here.
  if (!S_ISREG(existing.st_mode)) return adoptInPlace(openAsItStands(path));

  // An existing book. Whether it may be written at all is the file's own permission, as it
  // would be for overwriting it: a read-only book is refused, not replaced.
  const int book = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (book < 0) return false;
  if (fstat(book, &existing) != 0) {
    static_cast<void>(::close(book));
    return false;
  }
  finalPath_ = target;
  if (existing.st_nlink == 1) {
    if (adoptTemporary(createTemporary(finalPath_, &existing, temporaryPath_))) {
      static_cast<void>(::close(book));
      return true;
    }
    // Only a folder that will not take a new file sends the book to be written in place.
    if (errno != EACCES && errno != EPERM && errno != EROFS) {
      static_cast<void>(::close(book));
      return false;
    }
  }
  // Other hard links must go on seeing the book, so it is rewritten where it stands.
  if (ftruncate(book, 0) != 0) {
    static_cast<void>(::close(book));
    return false;
  }
  handle_ = book;
  syncInPlace_ = true;
  return true;
}

bool OutputFile::write(const char* bytes, std::size_t count) {
  if (handle_ == kClosed) failed_ = true;  // nothing to write to
  if (failed_) return false;
  if (!writeAll(static_cast<int>(handle_), bytes, count)) {
    failed_ = true;
    return false;
  }
  written_ += count;
#if defined(__linux__)
  // A book that will be synced is sent on its way to the disk every few megabytes, without
  // waiting: the disk writes while the rest is made, and the sync at the end has only the tail
  // left. Only a hint; a failure shows at the sync.
  constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} * 1024 * 1024;
  if ((replacing_ || syncInPlace_) && written_ - writeBackStarted_ >= kWriteBackStep) {
    static_cast<void>(
        sync_file_range(static_cast<int>(handle_), static_cast<off64_t>(writeBackStarted_),
                        static_cast<off64_t>(written_ - writeBackStarted_), SYNC_FILE_RANGE_WRITE));
    writeBackStarted_ = written_;
  }
#endif
  return true;
}

bool OutputFile::commit() {
  if (handle_ == kClosed || failed_) {
    abandon();
    return false;
  }
  const int descriptor = static_cast<int>(handle_);
  if (!replacing_) {
    // In place there is nothing to fall back on; report what went wrong and leave the file.
    bool ok = !syncInPlace_ || syncFile(descriptor) == 0;
    handle_ = kClosed;
    ok = closeFile(descriptor) == 0 && ok;
    failed_ = !ok;
    return ok;
  }
  const bool synced = syncFile(descriptor) == 0;
  handle_ = kClosed;
  if (closeFile(descriptor) != 0 || !synced) {
    abandon();
    return false;
  }
  {
    const CleanupSignalsBlocked blocked;
    if (renameFile(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
      abandon();
      return false;
    }
    temporaryPending = 0;
    restoreHandlers();
  }
  temporaryPath_.clear();
  replacing_ = false;
  // The new name itself must reach the disk. The book is in place by now either way, and some
  // file systems refuse to sync a folder, so a failure here is not the book's.
  const int folder = ::open(directoryOf(finalPath_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    static_cast<void>(fsync(folder));
    static_cast<void>(::close(folder));
  }
  return true;
}

void OutputFile::abandon() {
  failed_ = true;
  if (handle_ != kClosed) {
    // The book is being given up; how its closing went no longer matters.
    static_cast<void>(::close(static_cast<int>(handle_)));
    handle_ = kClosed;
  }
  if (!temporaryPath_.empty()) {
    const CleanupSignalsBlocked blocked;
    static_cast<void>(unlink(temporaryPath_.c_str()));
    temporaryPending = 0;
    restoreHandlers();
    temporaryPath_.clear();
  }
  replacing_ = false;
}

}  // namespace velmar::platform
