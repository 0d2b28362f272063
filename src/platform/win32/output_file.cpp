// The book file's system work on Windows (see output_primitives.h): what a name leads to, the
// temporary file (recorded in live_temporary.cpp, so no console event leaves it behind), and
// the replacement through ReplaceFileW, which keeps the old book's security, attributes and
// streams. Other programs open files behind the program's back (virus scanners, the search
// indexer, cloud sync, a reader showing the old book), so a step they refuse is tried again for
// a few seconds before the run gives up.

#include <windows.h>

#include "handles.h"
#include "live_temporary.h"
#include "platform/output_primitives.h"
#include "platform/output_seam.h"
#include "wide_names.h"

namespace velmar::platform::output {
namespace {

// --- Waiting for other programs ------------------------------------------------------------------

// Refusals that another program's open file or a deletion still under way explains, and that a
// moment can clear.
bool otherProgramHolds(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED || error == ERROR_DELETE_PENDING ||
         error == ERROR_USER_MAPPED_FILE || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Calls `attempt` until it succeeds, fails for another reason, or about four seconds have
// passed, waiting 10 ms at first and up to half a second between tries. The last error stays
// for the caller.
template <typename Attempt, typename Retried>
bool tryForAWhile(Attempt attempt, Retried retried) {
  DWORD pause = 10;
  DWORD waited = 0;
  for (;;) {
    if (attempt()) return true;
    const DWORD error = GetLastError();
    if (!retried(error) || waited >= 4000) {
      SetLastError(error);
      return false;
    }
    Sleep(pause);
    waited += pause;
    pause = pause >= 250 ? 500 : pause * 2;
  }
}

template <typename Attempt>
bool tryForAWhile(Attempt attempt) {
  return tryForAWhile(attempt, otherProgramHolds);
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

std::wstring pathIn(const Target& target, const std::string& name) {
  return widen((target.folder + name).c_str());
}

// ReplaceFileW removed the old book but could not move the new one in, nor could it be moved
// later: the temporary file holds the only copy of the book, and must not be removed.
bool onlyCopyInTemporary = false;

}  // namespace

// --- The primitives ------------------------------------------------------------------------------

bool inspectTarget(const char* path, Target& target) {
  const std::wstring wide = widen(path);
  // May the book be written at all? Opening the existing file for writing answers it the way
  // overwriting would: a read-only book and a folder are refused here, a book another program
  // holds is waited for. Others may still read, write, and replace it meanwhile.
  HANDLE existing = INVALID_HANDLE_VALUE;
  const bool opened = tryForAWhile(
      [&] {
        existing = CreateFileW(wide.c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return existing != INVALID_HANDLE_VALUE;
      },
      [](DWORD error) { return error == ERROR_SHARING_VIOLATION; });
  if (!opened) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    target.plan = Plan::ThroughTemporary;
    splitPath(fullPathOf(wide), target);
    return true;
  }
  target.file = handleFrom(existing);
  if (GetFileType(existing) != FILE_TYPE_DISK) {
    target.plan = Plan::Stream;  // NUL, CON, a pipe
    return true;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileInformationByHandle(existing, &information) == 0) return false;
  target.identityKnown = identityOfOpenFile(target.file, target.identity);
  target.replacing = true;
  // Other hard links must go on seeing the book.
  target.plan = information.nNumberOfLinks > 1 ? Plan::InPlace : Plan::ThroughTemporary;
  // A symbolic link stays a link: the file it leads to is the one replaced, beside itself.
  splitPath(finalPathOf(existing, fullPathOf(wide)), target);
  return true;
}

Handle createInPlace(const Target& target) {
  const HANDLE file =
      CreateFileW(pathIn(target, target.name).c_str(), GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                  nullptr);
  return file == INVALID_HANDLE_VALUE ? kNoHandle : handleFrom(file);
}

bool lockAndTruncate(Handle file) {
  // Waits for another run writing the book in place: the lock goes with its handle.
  OVERLAPPED whole{};
  static_cast<void>(
      LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
  return SetEndOfFile(handleOf(file)) != 0;
}

Created createTemporary(const Target& target, const std::string& name, Handle& file) {
  const std::wstring wide = pathIn(target, name);
  if (wide.size() >= kLivePathRoom) return Created::Failed;
  // Made and recorded while no console event can come between, so the handler never removes a
  // file of that name that is not the program's own.
  return whileTemporaryHeld([&] {
    const HANDLE made =
        CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return Created::NameTaken;
      return error == ERROR_ACCESS_DENIED ? Created::FolderRefuses : Created::Failed;
    }
    armCleanup(wide);
    file = handleFrom(made);
    return Created::Yes;
  });
}

// ReplaceFileW gives the new file the old one's security, attributes and streams as it renames.
bool carryOver(const Target& /*target*/, Handle /*temporary*/) { return true; }

bool renameTemporary(const Target& target, const std::string& name) {
  if (outputStepFails(OutputStep::Rename)) return false;
  const std::wstring temporary = pathIn(target, name);
  const std::wstring final = pathIn(target, target.name);
  return whileTemporaryHeld([&] {
    bool oldBookRemoved = false;
    const bool renamed = tryForAWhile([&] {
      if (target.replacing &&
          ReplaceFileW(final.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr) != 0) {
        return true;
      }
      const DWORD error = target.replacing ? GetLastError() : ERROR_FILE_NOT_FOUND;
      if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) oldBookRemoved = true;
      // No book under the name: a new book, an old one gone meanwhile, or one ReplaceFileW has
      // removed before it could move the new one in. The temporary file simply takes the name.
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
        SetLastError(error);
        return false;
      }
      return MoveFileExW(temporary.c_str(), final.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    onlyCopyInTemporary = !renamed && oldBookRemoved;
    // Renamed, or the only copy: either way no ending may remove it now.
    if (renamed || onlyCopyInTemporary) disarmCleanup();
    return renamed;
  });
}

void removeTemporary(const Target& target, const std::string& name) {
  const std::wstring temporary = pathIn(target, name);
  static_cast<void>(whileTemporaryHeld([&] {
    const bool removed = onlyCopyInTemporary ||
                         tryForAWhile([&] { return DeleteFileW(temporary.c_str()) != 0; });
    disarmCleanup();
    return removed;
  }));
}

bool writeAll(Handle file, const char* bytes, std::size_t count) {
  if (outputStepFails(OutputStep::Write)) return false;
  while (count > 0) {
    const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    DWORD written = 0;
    // No progress is a failure too: trying again would only repeat it.
    if (WriteFile(handleOf(file), bytes, chunk, &written, nullptr) == 0 || written == 0)
      return false;
    bytes += written;
    count -= written;
  }
  return true;
}

// Windows writes a file out by itself; FlushFileBuffers at the end waits for the rest.
void startWriteBack(Handle, std::uint64_t, std::uint64_t) {}

bool syncFile(Handle file) {
  return !outputStepFails(OutputStep::Sync) && FlushFileBuffers(handleOf(file)) != 0;
}

bool closeFile(Handle file) {
  const bool closed = CloseHandle(handleOf(file)) != 0;
  return !outputStepFails(OutputStep::Close) && closed;
}

void release(Handle handle) {
  if (handle != kNoHandle) CloseHandle(handleOf(handle));
}

// The rename asked for MOVEFILE_WRITE_THROUGH already; a folder cannot be flushed on its own.
void syncFolder(const Target&) {}

std::uint64_t processNumber() { return GetCurrentProcessId(); }

}  // namespace velmar::platform::output
