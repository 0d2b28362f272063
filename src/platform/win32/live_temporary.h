#pragma once
// The one record of the book's live temporary file on Windows, and the endings that must not
// leave it behind: the console's events (Ctrl+C, Ctrl+Break, a closed window, logoff, shutdown)
// and exit. The console handler runs on a thread of its own, so putting the temporary file in
// the book's place and the handler's removing it exclude each other. For win32/output_file.cpp
// only.

#include <cstddef>
#include <string>

namespace velmar::platform::output {

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

// The longest path the record takes: the longest the wide file functions take.
constexpr std::size_t kLivePathRoom = 32768;

// Records `path` (shorter than kLivePathRoom) as the live temporary file: from now on a console event or the program's exit
// removes it first. Only inside whileTemporaryHeld.
void armCleanup(const std::wstring& path);

// The file is in place, removed, or must stay: nothing is live any more.
void disarmCleanup();

}  // namespace velmar::platform::output
