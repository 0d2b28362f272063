// The book file's system work on Windows (see output_primitives.h): what a name leads to, the
// temporary file and the console events that must not leave it behind, and the replacement
// through ReplaceFileW, which keeps the old book's security, attributes and streams.

#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "platform/output_primitives.h"
#include "wide_names.h"

namespace velmar::platform::output {
namespace {

HANDLE handleOf(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
Handle handleFrom(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

// --- The live temporary file -------------------------------------------------------------------

// The longest name the wide file functions take, plus the temporary suffix.
constexpr std::size_t kPathRoom = 32768 + 64;

// Read by the console handler, which runs on a thread of its own, and at exit.
wchar_t liveTemporary[kPathRoom];
volatile LONG temporaryLive = 0;

void removeLiveTemporary() {
  // The file is open with FILE_SHARE_DELETE: even while it is written, it goes when the process
  // does.
  if (InterlockedExchange(&temporaryLive, 0) != 0) DeleteFileW(liveTemporary);
}

// Ctrl+C, Ctrl+Break, a closed console window, logoff, shutdown: remove the temporary file, then
// let the default handling end the program.
BOOL WINAPI removeTemporaryOnEvent(DWORD /*event*/) {
  removeLiveTemporary();
  return FALSE;
}

void armCleanup() {
  static bool atExitRegistered = false;
  if (!atExitRegistered) atExitRegistered = std::atexit(removeLiveTemporary) == 0;
  InterlockedExchange(&temporaryLive, 1);
  SetConsoleCtrlHandler(removeTemporaryOnEvent, TRUE);
}

void disarmCleanup() {
  InterlockedExchange(&temporaryLive, 0);
  SetConsoleCtrlHandler(removeTemporaryOnEvent, FALSE);
}

// --- Names -------------------------------------------------------------------------------------

// `path` made absolute, or as it was when the system cannot.
std::wstring fullPathOf(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD used = GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
  if (used == 0 || used >= length) return path;
  full.resize(used);
  return full;
}

// Where the open file really is, symbolic links followed, or `fallback` when the system cannot
// tell.
std::wstring finalPathOf(HANDLE file, const std::wstring& fallback) {
  const DWORD length = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
  if (length == 0) return fallback;
  std::wstring final(length, L'\0');
  const DWORD used = GetFinalPathNameByHandleW(file, &final[0], length, FILE_NAME_NORMALIZED);
  if (used == 0 || used >= length) return fallback;
  final.resize(used);
  return final;
}

void splitPath(const std::wstring& path, Target& target) {
  const std::size_t separator = path.find_last_of(L"\\/");
  const std::size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
  target.folder = narrow(path.substr(0, nameStart).c_str());
  target.name = narrow(path.substr(nameStart).c_str());
}

}  // namespace

// --- The primitives ------------------------------------------------------------------------------

bool inspectTarget(const char* path, Target& target) {
  const std::wstring wide = widen(path);
  // May the book be written at all? Opening the existing file for writing answers it the way
  // overwriting would: a read-only book, a folder, a locked file are refused here.
  const HANDLE existing =
      CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    target.kind = TargetKind::NewFile;
    splitPath(fullPathOf(wide), target);
    return true;
  }
  target.handle = handleFrom(existing);
  if (GetFileType(existing) != FILE_TYPE_DISK) {
    target.kind = TargetKind::Stream;  // NUL, CON, a pipe
    return true;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileInformationByHandle(existing, &information) == 0) {
    CloseHandle(existing);
    return false;
  }
  target.kind = TargetKind::Book;
  target.otherLinks = information.nNumberOfLinks > 1;
  // A symbolic link stays a link: the file it leads to is the one replaced, beside itself.
  splitPath(finalPathOf(existing, fullPathOf(wide)), target);
  return true;
}

Handle openAsItStands(const std::string& path) {
  const HANDLE file = CreateFileW(widen(path.c_str()).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? kNoHandle : handleFrom(file);
}

bool truncateFile(Handle file) { return SetEndOfFile(handleOf(file)) != 0; }

Created createTemporary(const std::string& path, bool /*replacing*/, Handle& file) {
  const std::wstring wide = widen(path.c_str());
  if (wide.size() >= kPathRoom) return Created::Failed;
  // Recorded before the file exists, so the handler never reads half a name; live only once made.
  InterlockedExchange(&temporaryLive, 0);
  wmemcpy(liveTemporary, wide.c_str(), wide.size() + 1);
  const HANDLE made = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return Created::NameTaken;
    return error == ERROR_ACCESS_DENIED ? Created::FolderRefuses : Created::Failed;
  }
  armCleanup();
  file = handleFrom(made);
  return Created::Yes;
}

// ReplaceFileW gives the new file the old one's security, attributes and streams as it renames.
bool carryOver(const Target& /*target*/, Handle /*temporary*/) { return true; }

bool renameTemporary(const std::string& temporaryPath, const std::string& finalPath,
                     bool replacing) {
  const std::wstring temporary = widen(temporaryPath.c_str());
  const std::wstring final = widen(finalPath.c_str());
  bool renamed = replacing && ReplaceFileW(final.c_str(), temporary.c_str(), nullptr, 0, nullptr,
                                           nullptr) != 0;
  // A new book, or an old one gone meanwhile: the temporary file simply takes the name (from
  // whichever run finished last, should two write it at once).
  if (!renamed && (!replacing || GetLastError() == ERROR_FILE_NOT_FOUND)) {
    renamed = MoveFileExW(temporary.c_str(), final.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (renamed) disarmCleanup();
  return renamed;
}

void removeTemporary(const std::string& temporaryPath) {
  DeleteFileW(widen(temporaryPath.c_str()).c_str());
  disarmCleanup();
}

bool writeAll(Handle file, const char* bytes, std::size_t count) {
  while (count > 0) {
    const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    DWORD written = 0;
    if (WriteFile(handleOf(file), bytes, chunk, &written, nullptr) == 0 || written == 0)
      return false;
    bytes += written;
    count -= written;
  }
  return true;
}

// Windows writes a file out by itself; FlushFileBuffers at the end waits for the rest.
void startWriteBack(Handle, std::uint64_t, std::uint64_t) {}

bool syncFile(Handle file) { return FlushFileBuffers(handleOf(file)) != 0; }

bool closeFile(Handle file) { return CloseHandle(handleOf(file)) != 0; }

// The rename asked for MOVEFILE_WRITE_THROUGH already; a folder cannot be flushed on its own.
void syncFolder(const std::string&) {}

std::uint64_t processNumber() { return GetCurrentProcessId(); }

}  // namespace velmar::platform::output
