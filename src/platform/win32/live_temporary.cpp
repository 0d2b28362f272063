#include "live_temporary.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace velmar::platform::output {
namespace {

// Read by the console handler and at exit.
wchar_t liveTemporary[kLivePathRoom];
volatile LONG temporaryLive = 0;
// The thread of the console handler ending the program, once an event came; 0 before.
volatile LONG endingThread = 0;
SRWLOCK held = SRWLOCK_INIT;

void removeLiveTemporary() {
  // The file is open with FILE_SHARE_DELETE: even while it is written, it goes when the process
  // does.
  if (InterlockedExchange(&temporaryLive, 0) != 0) DeleteFileW(liveTemporary);
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

void holdTemporary() {
  // Installed before the first temporary file is made, so no event finds the file made and the
  // console's default handling still in place.
  static bool installed = false;
  if (!installed) {
    installed = std::atexit(removeLiveTemporaryAtExit) == 0 &&
                SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
  }
  AcquireSRWLockExclusive(&held);
}

void releaseTemporary() {
  ReleaseSRWLockExclusive(&held);
  yieldToAnEvent();
}

void armCleanup(const std::wstring& path) {
  wmemcpy(liveTemporary, path.c_str(), path.size() + 1);
  InterlockedExchange(&temporaryLive, 1);
}

void disarmCleanup() { InterlockedExchange(&temporaryLive, 0); }

}  // namespace velmar::platform::output
