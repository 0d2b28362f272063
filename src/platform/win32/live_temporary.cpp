#include "live_temporary.h"

#include <cstdlib>

namespace velmar::platform::output {
namespace {

// Read by the console handler and at exit.
HANDLE liveTemporary = INVALID_HANDLE_VALUE;
volatile LONG temporaryLive = 0;
// The thread of the console handler ending the program, once an event came; 0 before.
volatile LONG endingThread = 0;
SRWLOCK held = SRWLOCK_INIT;

// The handle closes as the process ends, and the file goes with it.
void removeLiveTemporary() {
  if (InterlockedExchange(&temporaryLive, 0) != 0) markForRemoval(liveTemporary);
}

// Waits for the handler, which is ending the program with the event's status. The handler's own
// thread runs the exit functions as it ends the program, and must not wait for itself.
void yieldToAnEvent() {
  const LONG ending = InterlockedCompareExchange(&endingThread, 0, 0);
  if (ending != 0 && ending != static_cast<LONG>(GetCurrentThreadId())) Sleep(INFINITE);
}

extern "C" void removeLiveTemporaryAtExit() {
  yieldToAnEvent();
  removeLiveTemporary();
}

// Ctrl+C, Ctrl+Break, a closed console window, logoff, shutdown: once no temporary file is being
// put in place, remove it and end the program as the console would, with the event's status.
BOOL WINAPI onConsoleEvent(DWORD /*event*/) {
  // A second event finds the first one ending the program already.
  InterlockedCompareExchange(&endingThread, static_cast<LONG>(GetCurrentThreadId()), 0);
  AcquireSRWLockExclusive(&held);
  removeLiveTemporary();
  ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

}  // namespace

void ownTheEnding() {
  static_cast<void>(std::atexit(removeLiveTemporaryAtExit));
  static_cast<void>(SetConsoleCtrlHandler(onConsoleEvent, TRUE));
}

void holdTemporary() { AcquireSRWLockExclusive(&held); }

void releaseTemporary() {
  ReleaseSRWLockExclusive(&held);
  yieldToAnEvent();
}

bool markForRemoval(HANDLE file) {
  FILE_DISPOSITION_INFO removal{};
  removal.DeleteFile = TRUE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &removal, sizeof removal) != 0;
}

void armCleanup(HANDLE file) {
  liveTemporary = file;
  InterlockedExchange(&temporaryLive, 1);
}

void disarmCleanup() { InterlockedExchange(&temporaryLive, 0); }

}  // namespace velmar::platform::output
