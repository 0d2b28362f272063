#include "live_temporary.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace velmar::platform::output {
namespace {

// Read by the signal handler and at exit, so written only while the signals are held back.
char liveTemporary[kLiveNameRoom];
int liveFolder = -1;
volatile std::sig_atomic_t temporaryLive = 0;

struct sigaction previousActions[NSIG];
// The signal mask before the outermost hold, and how deep the holds are.
sigset_t beforeHolding;
int holds = 0;
bool handlerInstalled[NSIG];

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

// Removes the temporary file, then hands the signal to what was there before (by default: the
// program dies of it, so the caller still sees what happened). Only async-signal-safe calls.
extern "C" void removeTemporaryAndResignal(int number) {
  if (temporaryLive != 0) static_cast<void>(unlinkat(liveFolder, liveTemporary, 0));
  temporaryLive = 0;
  static_cast<void>(sigaction(number, &previousActions[number], nullptr));
  static_cast<void>(raise(number));
}

extern "C" void removeTemporaryAtExit() {
  if (temporaryLive != 0) static_cast<void>(unlinkat(liveFolder, liveTemporary, 0));
  temporaryLive = 0;
}

}  // namespace

void holdSignals() {
  if (holds++ > 0) return;
  sigset_t all;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &beforeHolding);
}

void releaseSignals() {
  if (--holds == 0) sigprocmask(SIG_SETMASK, &beforeHolding, nullptr);
}

void armCleanup(int folder, const std::string& name) {
  static bool atExitRegistered = false;
  if (!atExitRegistered) atExitRegistered = std::atexit(removeTemporaryAtExit) == 0;
  std::memcpy(liveTemporary, name.c_str(), name.size() + 1);
  liveFolder = folder;
  temporaryLive = 1;
  for (int number = 1; number < NSIG; ++number) {
    handlerInstalled[number] = false;
    struct sigaction current {};
    // A signal the caller has us ignore (nohup) stays ignored; one the system keeps for itself
    // cannot be asked about.
    if (!endsTheProgram(number) || sigaction(number, nullptr, &current) != 0 ||
        current.sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction cleanup {};
    cleanup.sa_handler = removeTemporaryAndResignal;
    sigemptyset(&cleanup.sa_mask);
    handlerInstalled[number] = sigaction(number, &cleanup, &previousActions[number]) == 0;
  }
}

void disarmCleanup() {
  temporaryLive = 0;
  for (int number = 1; number < NSIG; ++number) {
    if (handlerInstalled[number]) sigaction(number, &previousActions[number], nullptr);
    handlerInstalled[number] = false;
  }
}

}  // namespace velmar::platform::output
