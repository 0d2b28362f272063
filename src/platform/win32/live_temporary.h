#pragma once
// For the entry point only; made in win32/output_file.cpp, beside the live temporary file's record.

namespace velmar::platform::output {

// Takes over the console's events (Ctrl+C, Ctrl+Break, a closed window, logoff, shutdown) and the
// program's exit, so that the temporary file goes first and the run ends with
// STATUS_CONTROL_C_EXIT whenever an event comes, from the program's first instruction on: never 0
// from a run the user ended.
void ownTheEnding();

}  // namespace velmar::platform::output
