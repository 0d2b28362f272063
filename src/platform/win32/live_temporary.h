#pragma once
// The one record of the book's live temporary file, and the endings that must not leave it
// behind: the console's events (Ctrl+C, Ctrl+Break, a closed window, logoff, shutdown) and exit.
// The console handler runs on a thread of its own and waits while the endings are held
// (holdEndings(), which this file makes): the temporary file is then being made, put in place or
// removed, and none of these may be cut short. For win32/output_file.cpp and the entry point only.

#include <windows.h>

namespace velmar::platform::output {

// Takes over the console's events, so that the run ends with STATUS_CONTROL_C_EXIT whenever one
// comes, from the program's first instruction on: never 0 from a run the user ended.
void ownTheEnding();

// Marks the file open through `file` (with DELETE access) to go once its last handle closes;
// nobody else's handle can stand in the way.
bool markForRemoval(HANDLE file);

// From armCleanup() to disarmCleanup(), a console event or the program's exit first removes the
// temporary file open through `file`. Both only while the endings are held.
void armCleanup(HANDLE file);
void disarmCleanup();

}  // namespace velmar::platform::output
