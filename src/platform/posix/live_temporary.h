#pragma once
// The one record of the book's live temporary file, and the endings that must not leave it
// behind: every signal whose default action ends the program, and exit. For
// posix/output_file.cpp only.

#include <csignal>
#include <string>

namespace velmar::platform::output {

// Holds every signal back while the temporary file changes hands, so a handler never sees it half
// made or half recorded.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_{};
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
