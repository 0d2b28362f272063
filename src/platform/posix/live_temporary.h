#pragma once
// The one record of the book's live temporary file, and the endings that must not leave it
// behind: every signal whose default action ends the program, and exit. For
// posix/output_file.cpp only.

#include <csignal>
#include <string>

namespace velmar::platform::output {

// Every signal waits from holdSignals() to releaseSignals(): while the temporary file changes
// hands, so a handler never sees it half made or half recorded, and while a book is rewritten
// in place. Holds nest.
void holdSignals();
void releaseSignals();

class SignalsHeld {
 public:
  SignalsHeld() { holdSignals(); }
  ~SignalsHeld() { releaseSignals(); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;
};

// The longest temporary name the record takes: a name in a folder, not a path.
constexpr std::size_t kLiveNameRoom = 256;

// Records `name` (shorter than kLiveNameRoom) in the open folder `folder` as the live temporary
// file: from now on a signal that ends the program, or its exit, removes it first. Only while
// the signals are held.
void armCleanup(int folder, const std::string& name);

// The file is renamed or removed: nothing is live any more. Only while the signals are held.
void disarmCleanup();

}  // namespace velmar::platform::output
