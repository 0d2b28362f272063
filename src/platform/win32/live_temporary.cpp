#include "live_temporary.h"

#include <cstdlib>

#include "platform/output_primitives.h"

namespace velmar::platform::output {
namespace {

// Read by the console handler and at exit; null while no temporary file is live.
HANDLE volatile liveTemporary = nullptr;
// The thread of the console handler ending the program, once an event came; 0 before.
volatile LONG endingThread = 0;
SRWLOCK held = SRWLOCK_INIT;

// The handle closes as the process ends, and the file goes with it.
void removeLiveTemporary() {
  const HANDLE file = InterlockedExchangePointer(&liveTemporary, nullptr);
  if (file != nullptr) markForRemoval(file);
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

// Once no temporary file is being made, put in place or removed: remove it and end the program
// as the console would, with the event's status. A second event finds the first one ending it.
BOOL WINAPI onConsoleEvent(DWORD /*event*/) {
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

void holdEndings() { AcquireSRWLockExclusive(&held); }

void releaseEndings() {
  ReleaseSRWLockExclusive(&held);
  yieldToAnEvent();
}

bool markForRemoval(HANDLE file) {
  FILE_DISPOSITION_INFO removal{};
  removal.DeleteFile = TRUE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &removal, sizeof removal) != 0;
}

void armCleanup(HANDLE file) { InterlockedExchangePointer(&liveTemporary, file); }

void disarmCleanup() { InterlockedExchangePointer(&liveTemporary, nullptr); }

}  // namespace velmar::platform::output
