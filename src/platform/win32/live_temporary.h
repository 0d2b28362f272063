#pragma once
// The one record of the book's live temporary file on Windows, and the endings that must not
// leave it behind: the console's events (Ctrl+C, Ctrl+Break, a closed window, logoff, shutdown)
// and exit. The console handler runs on a thread of its own, so putting the temporary file in
// the book's place and the handler's removing it exclude each other. For win32/output_file.cpp
// and the entry point only.

#include <windows.h>

namespace velmar::platform::output {

// Takes over the console's events, so that the run ends with STATUS_CONTROL_C_EXIT whenever one
// comes, from the program's first instruction on: never 0 from a run the user ended.
void ownTheEnding();

// Runs `work` and returns what it returns, while no console event may remove the temporary file
// or end the program: the file is being made, put in place or removed, and none of these may be
// cut short. An event that came meanwhile ends the program, with its status, right after.
void holdTemporary();
void releaseTemporary();

template <typename Work>
auto whileTemporaryHeld(Work work) {
  holdTemporary();
  const auto result = work();
  releaseTemporary();
  return result;
}

// Marks the file open through `file` (with DELETE access) to go once its last handle closes;
// nobody else's handle can stand in the way.
bool markForRemoval(HANDLE file);

// Records the temporary file open through `file` as live: from now on a console event or the
// program's exit removes it first, through that handle. Only inside whileTemporaryHeld.
void armCleanup(HANDLE file);

// The file is in place or removed: nothing is live any more.
void disarmCleanup();

}  // namespace velmar::platform::output
