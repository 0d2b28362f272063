#include "platform/output_file.h"

#include <windows.h>

#include <cwchar>

#include "wide_names.h"

namespace velmar::platform {
namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// --- The temporary file and Ctrl+C ---------------------------------------------------------------

// The longest name the wide file functions take, plus the temporary suffix.
constexpr std::size_t kPathRoom = 32768 + 64;

// Read by the console handler, which runs on a thread of its own: prepared before the file exists.
wchar_t pendingTemporary[kPathRoom];
volatile LONG temporaryPending = 0;

// Ctrl+C, Ctrl+Break, a closed console window: remove the temporary book, then let the default
// handling end the program. The file is open with FILE_SHARE_DELETE, so it goes when the
// process does.
BOOL WINAPI removeTemporaryOnInterrupt(DWORD /*event*/) {
  if (InterlockedCompareExchange(&temporaryPending, 0, 0) != 0) DeleteFileW(pendingTemporary);
  return FALSE;
}

void armInterruptHandler() {
  InterlockedExchange(&temporaryPending, 1);
  SetConsoleCtrlHandler(removeTemporaryOnInterrupt, TRUE);
}

void disarmInterruptHandler() {
  InterlockedExchange(&temporaryPending, 0);
  SetConsoleCtrlHandler(removeTemporaryOnInterrupt, FALSE);
}

// --- Names ---------------------------------------------------------------------------------------

std::wstring fullPathOf(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD used = GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
  if (used == 0 || used >= length) return path;
  full.resize(used);
  return full;
}

std::size_t lastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

// Six letters and digits that differ from run to run and from try to try.
std::wstring randomSuffix(unsigned attempt) {
  static const wchar_t kDigits[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  unsigned long long seed = static_cast<unsigned long long>(counter.QuadPart) ^
                            (static_cast<unsigned long long>(GetCurrentProcessId()) << 20) ^
                            (attempt * 0x9E3779B97F4A7C15ull);
  std::wstring suffix;
  for (int index = 0; index < 6; ++index) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    suffix += kDigits[(seed >> 33) % 36];
  }
  return suffix;
}

// Makes the temporary book beside `finalPath` (".NAME.xxxxxx"). The handle, or
// INVALID_HANDLE_VALUE with the last error set.
HANDLE createTemporary(const std::wstring& finalPath, std::wstring& temporaryPath) {
  const std::size_t separator = lastSeparator(finalPath);
  const std::wstring folder =
      separator == std::wstring::npos ? L"." : finalPath.substr(0, separator);
  const std::wstring base =
      (separator == std::wstring::npos ? finalPath : finalPath.substr(separator + 1))
          .substr(0, 200);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::wstring candidate = folder + L"\\." + base + L"." + randomSuffix(attempt);
    if (candidate.size() >= kPathRoom) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return INVALID_HANDLE_VALUE;
    }
    // Prepared for the handler before the file exists.
    wmemcpy(pendingTemporary, candidate.c_str(), candidate.size() + 1);
    const HANDLE file =
        CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      temporaryPath = candidate;
      armInterruptHandler();
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

// Makes the temporary file that will replace the book `path` names and gives both names in
// UTF-8. The handle as the output keeps it (kClosed, that is -1, when none could be made, with
// the last error set).
std::intptr_t startReplacement(const std::wstring& path, std::string& finalPath,
                               std::string& temporaryPath) {
  std::wstring temporary;
  const std::wstring full = fullPathOf(path);
  const HANDLE file = createTemporary(full, temporary);
  if (file == INVALID_HANDLE_VALUE) return reinterpret_cast<std::intptr_t>(file);
  finalPath = narrow(full.c_str());
  temporaryPath = narrow(temporary.c_str());
  return reinterpret_cast<std::intptr_t>(file);
}

bool writeAll(HANDLE file, const char* bytes, std::size_t count) {
  while (count > 0) {
    if (outputStepFails(OutputStep::Write)) return false;
    const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    DWORD written = 0;
    if (WriteFile(file, bytes, chunk, &written, nullptr) == 0 || written == 0) return false;
    bytes += written;
    count -= written;
  }
  return true;
}

bool syncFile(HANDLE file) {
  if (outputStepFails(OutputStep::Sync)) return false;
  return FlushFileBuffers(file) != 0;
}

bool closeFile(HANDLE file) {
  const bool closed = CloseHandle(file) != 0;
  return !outputStepFails(OutputStep::Close) && closed;
}

bool renameFile(const std::wstring& from, const std::wstring& to) {
  if (outputStepFails(OutputStep::Rename)) return false;
  return MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

OutputFile::~OutputFile() {
  if (handle_ != kClosed || !temporaryPath_.empty()) abandon();
}

bool OutputFile::open(const char* path) {
  failed_ = false;
  replacing_ = false;
  syncInPlace_ = false;
  keptAttributes_ = 0;
  const std::wstring wide = widen(path);

  // May the book be written at all? Opening the existing file for writing answers it the way
  // overwriting would: a read-only book, a folder, a locked file are refused here.
  const HANDLE existing =
      CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    // A new book: made beside its final name and moved into place.
    return adoptTemporary(startReplacement(wide, finalPath_, temporaryPath_));
  }
  if (GetFileType(existing) != FILE_TYPE_DISK) {
    // NUL, CON, a pipe: written as it is.
    return adoptInPlace(reinterpret_cast<std::intptr_t>(existing));
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileInformationByHandle(existing, &information) == 0) {
    CloseHandle(existing);
    return false;
  }
  if (information.nNumberOfLinks == 1) {
    if (adoptTemporary(startReplacement(wide, finalPath_, temporaryPath_))) {
      CloseHandle(existing);
      keptAttributes_ = information.dwFileAttributes &
                        (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
      return true;
    }
    // Only a folder that will not take a new file sends the book to be written in place.
    if (GetLastError() != ERROR_ACCESS_DENIED) {
      CloseHandle(existing);
      return false;
    }
  }
  // Other hard links must go on seeing the book, so it is rewritten where it stands.
  if (SetEndOfFile(existing) == 0) {
    CloseHandle(existing);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(existing);
  syncInPlace_ = true;
  return true;
}

bool OutputFile::write(const char* bytes, std::size_t count) {
  if (handle_ == kClosed) failed_ = true;  // nothing to write to
  if (failed_) return false;
  if (!writeAll(handleOf(handle_), bytes, count)) failed_ = true;
  return !failed_;
}

bool OutputFile::commit() {
  if (handle_ == kClosed || failed_) {
    abandon();
    return false;
  }
  const HANDLE file = handleOf(handle_);
  handle_ = kClosed;
  if (!replacing_) {
    // In place there is nothing to fall back on; report what went wrong and leave the file.
    bool ok = !syncInPlace_ || syncFile(file);
    ok = closeFile(file) && ok;
    failed_ = !ok;
    return ok;
  }
  const bool synced = syncFile(file);
  if (!closeFile(file) || !synced) {
    abandon();
    return false;
  }
  const std::wstring temporary = widen(temporaryPath_.c_str());
  // The replacement keeps what the old book was (hidden, read-only where it could be written
  // all the same); a new book keeps the attributes it was made with.
  if (keptAttributes_ != 0) SetFileAttributesW(temporary.c_str(), keptAttributes_);
  if (!renameFile(temporary, widen(finalPath_.c_str()))) {
    abandon();
    return false;
  }
  disarmInterruptHandler();
  temporaryPath_.clear();
  replacing_ = false;
  return true;
}

void OutputFile::abandon() {
  failed_ = true;
  if (handle_ != kClosed) {
    // The book is being given up; how its closing went no longer matters.
    CloseHandle(handleOf(handle_));
    handle_ = kClosed;
  }
  if (!temporaryPath_.empty()) {
    const std::wstring temporary = widen(temporaryPath_.c_str());
    // It may carry the old book's read-only attribute by now, which DeleteFileW refuses.
    if (DeleteFileW(temporary.c_str()) == 0 && GetLastError() == ERROR_ACCESS_DENIED) {
      SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(temporary.c_str());
    }
    disarmInterruptHandler();
    temporaryPath_.clear();
  }
  replacing_ = false;
}

}  // namespace velmar::platform
