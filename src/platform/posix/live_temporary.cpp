// The book's temporary file on POSIX, recorded while it lives, so that every signal whose default
// action ends the program, and the program's exit, remove it first.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/output_primitives.h"
#include "system_calls.h"

namespace velmar::platform::output {
namespace {

// The longest temporary name the record takes: a name in the book's folder, not a path.
constexpr std::size_t kLiveNameRoom = 256;

// Read by the signal handler and at exit, so written only while the signals are held back.
char liveTemporary[kLiveNameRoom];
int liveFolder = -1;
volatile std::sig_atomic_t temporaryLive = 0;

struct sigaction previousActions[NSIG];
// The signal mask before the outermost hold, and how deep the holds are.
sigset_t beforeHolding;
int holds = 0;

// The signals whose default action does not end the program; every other one that can be caught
// does (the real-time ones included), and must take the temporary file with it.
bool endsTheProgram(int number) {
  switch (number) {
    case SIGKILL: case SIGSTOP:                             // cannot be caught
    case SIGCHLD: case SIGURG: case SIGWINCH: case SIGCONT:  // ignored by default
    case SIGTSTP: case SIGTTIN: case SIGTTOU:               // stop the program
      return false;
    default:
      return true;
  }
}

extern "C" void removeLiveTemporary() {
  if (temporaryLive != 0) static_cast<void>(unlinkat(liveFolder, liveTemporary, 0));
  temporaryLive = 0;
}

// Removes the temporary file, then hands the signal to what was there before (by default: the
// program dies of it, so the caller still sees what happened). Only async-signal-safe calls.
extern "C" void removeTemporaryAndResignal(int number) {
  removeLiveTemporary();
  static_cast<void>(sigaction(number, &previousActions[number], nullptr));
  static_cast<void>(raise(number));
}

// While the temporary file changes hands: a handler never sees it half made or half recorded.
class SignalsHeld {
 public:
  SignalsHeld() { holdEndings(); }
  ~SignalsHeld() { releaseEndings(); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;
};

// The handlers, and the removal at exit, come with the first temporary file and stay: with no
// file live they only hand the signal on.
void armCleanup(int folder, const std::string& name) {
  std::memcpy(liveTemporary, name.c_str(), name.size() + 1);
  liveFolder = folder;
  temporaryLive = 1;
  static bool handled = false;
  if (handled) return;
  handled = true;
  static_cast<void>(std::atexit(removeLiveTemporary));
  struct sigaction cleanup {};
  cleanup.sa_handler = removeTemporaryAndResignal;
  sigemptyset(&cleanup.sa_mask);
  for (int number = 1; number < NSIG; ++number) {
    // An ignored signal (nohup) stays ignored; one the system keeps for itself cannot be asked.
    if (endsTheProgram(number) && sigaction(number, nullptr, &previousActions[number]) == 0 &&
        previousActions[number].sa_handler != SIG_IGN) {
      static_cast<void>(sigaction(number, &cleanup, nullptr));
    }
  }
}

}  // namespace

// Holds nest.
void holdEndings() {
  if (holds++ > 0) return;
  sigset_t all;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &beforeHolding);
}

void releaseEndings() {
  if (--holds == 0) sigprocmask(SIG_SETMASK, &beforeHolding, nullptr);
}

Created createTemporary(const Target& target, const std::string& name, Handle& file) {
  if (name.size() >= kLiveNameRoom) return Created::Failed;
  // A new book is created as any new file is (0666 less the umask, or the folder's default
  // access list); a replacement starts private and is given the old book's access in carryOver.
  const mode_t mode = target.replacing ? 0600 : 0666;
  const int folder = static_cast<int>(target.folderHandle);
  const SignalsHeld held;
  const int made =
      openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
  if (made < 0) {
    if (errno == EEXIST) return Created::NameTaken;
    return errno == EACCES || errno == EPERM || errno == EROFS ? Created::FolderRefuses
                                                               : Created::Failed;
  }
  armCleanup(folder, name);
  file = made;
  return Created::Yes;
}

bool putTemporaryInPlace(const Target& target, const std::string& name, Handle& file) {
  const bool closed = closeFile(file);
  file = kNoHandle;
  if (!closed) return false;
  const SignalsHeld held;
  const int folder = static_cast<int>(target.folderHandle);
  if (system::renameat(folder, name.c_str(), folder, target.name.c_str()) != 0) return false;
  temporaryLive = 0;
  // The held (O_PATH) folder cannot be synced, one that may not be listed not at all, and some
  // file systems refuse it: the book is in place either way.
  const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listed >= 0) static_cast<void>(fsync(listed));
  release(listed);
  return true;
}

void removeTemporary(const Target& target, const std::string& name, Handle& file) {
  release(file);
  file = kNoHandle;
  const SignalsHeld held;
  static_cast<void>(unlinkat(static_cast<int>(target.folderHandle), name.c_str(), 0));
  temporaryLive = 0;
}

}  // namespace velmar::platform::output
