// The book file's system work on Windows, and the one record of its live temporary file, which
// the console's events and exit must not leave behind.

#include <windows.h>
#include <aclapi.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "conversions.h"
#include "live_temporary.h"
#include "platform/output_primitives.h"
#include "platform/patience.h"
#include "system_calls.h"

namespace velmar::platform::output {
namespace {

// Refusals that another program's open file or lock, or a deletion still under way, explains,
// and that a moment can clear: virus scanners, the search indexer, cloud sync or a reader showing
// the old book open files behind the program's back.
bool otherProgramHolds(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED || error == ERROR_DELETE_PENDING ||
         error == ERROR_USER_MAPPED_FILE;
}

// Calls `attempt` until it succeeds, fails for a reason `retried` does not accept, or the run
// has waited all it may (patience.h). The last error stays for the caller.
template <typename Attempt>
bool retrying(Attempt attempt, bool (*retried)(DWORD) = otherProgramHolds) {
  for (;;) {
    if (attempt()) return true;
    const DWORD error = GetLastError();
    if (!retried(error) || !waitBeforeRetrying()) {
      SetLastError(error);
      return false;
    }
  }
}

// The path a call such as GetFullPathNameW writes, asked once for its length and once for the
// text, or `fallback` when the system cannot tell.
template <typename Ask>
std::wstring pathAsked(Ask ask, const std::wstring& fallback) {
  const DWORD length = ask(nullptr, 0);
  if (length == 0) return fallback;
  std::wstring path(length, L'\0');
  const DWORD used = ask(&path[0], length);
  if (used == 0 || used >= length) return fallback;
  path.resize(used);
  return path;
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

// A metadata call the file system does not support (FAT keeps no access lists): nothing to
// carry over, not a refusal.
bool unsupported(DWORD error) {
  return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION;
}

// A file's access list, and whether it is protected from the folder's.
struct AccessList {
  PSECURITY_DESCRIPTOR security = nullptr;
  PACL list = nullptr;
  const DWORD error;
  bool isProtected = false;

  explicit AccessList(HANDLE file)
      : error(GetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &list, nullptr, &security)) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    isProtected = error == ERROR_SUCCESS &&
                  GetSecurityDescriptorControl(security, &control, &revision) != 0 &&
                  (control & SE_DACL_PROTECTED) != 0;
  }
  AccessList(const AccessList&) = delete;
  AccessList& operator=(const AccessList&) = delete;
  ~AccessList() { LocalFree(security); }

  bool operator==(const AccessList& other) const {
    ACL_SIZE_INFORMATION size{};
    ACL_SIZE_INFORMATION otherSize{};
    if (list == nullptr || other.list == nullptr) return list == other.list;
    return isProtected == other.isProtected &&
           GetAclInformation(list, &size, sizeof size, AclSizeInformation) != 0 &&
           GetAclInformation(other.list, &otherSize, sizeof otherSize, AclSizeInformation) != 0 &&
           size.AclBytesInUse == otherSize.AclBytesInUse &&
           std::memcmp(list, other.list, size.AclBytesInUse) == 0;
  }
};

// --- The live temporary file and the console's events --------------------------------------------

// Read by the console handler and at exit; null while no temporary file is live.
HANDLE volatile liveTemporary = nullptr;
// The thread of the console handler ending the program, once an event came; 0 before.
volatile LONG endingThread = 0;
SRWLOCK held = SRWLOCK_INIT;

// `file` needs DELETE access; the file goes once its last handle closes, whoever else holds one.
bool markForRemoval(HANDLE file) {
  FILE_DISPOSITION_INFO removal{};
  removal.DeleteFile = TRUE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &removal, sizeof removal) != 0;
}

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

// While one lives, the console handler, on a thread of its own, waits: no event may remove the
// temporary file or end the program. One that came meanwhile ends it right after.
struct EndingsHeld {
  EndingsHeld() { holdEndings(); }
  ~EndingsHeld() { releaseEndings(); }
  EndingsHeld(const EndingsHeld&) = delete;
  EndingsHeld& operator=(const EndingsHeld&) = delete;
};

}  // namespace

// --- The primitives ------------------------------------------------------------------------------

bool inspectTarget(const char* path, Target& target) {
  const std::wstring wide = widen(path);
  const auto fullPath = [&](wchar_t* text, DWORD size) {
    return GetFullPathNameW(wide.c_str(), size, text, nullptr);
  };
  const std::wstring full = pathAsked(fullPath, wide);
  // Opened for writing as overwriting would open it (a read-only book or a folder is refused, a
  // book another program holds is waited for), letting others read, write and replace it; for
  // reading too where it may be, so that a book rewritten in place can be copied aside.
  const auto openFor = [&](DWORD access) {
    return CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE existing = INVALID_HANDLE_VALUE;
  const bool opened = retrying(
      [&] {
        existing = openFor(GENERIC_READ | GENERIC_WRITE);
        if (existing == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
          existing = openFor(GENERIC_WRITE);
        return existing != INVALID_HANDLE_VALUE;
      },
      [](DWORD error) { return error == ERROR_SHARING_VIOLATION; });
  if (!opened) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    target.plan = Plan::ThroughTemporary;
    splitPath(full, target);
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
  const auto finalPath = [&](wchar_t* text, DWORD size) {
    return GetFinalPathNameByHandleW(existing, text, size, FILE_NAME_NORMALIZED);
  };
  splitPath(pathAsked(finalPath, full), target);
  return true;
}

Handle createInPlace(const Target& target) {
  const HANDLE file = CreateFileW(pathIn(target, target.name).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? kNoHandle : handleFrom(file);
}

bool lockForRewrite(Handle file) {
  OVERLAPPED whole{};
  const bool locked = retrying([&] {
    return LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                      MAXDWORD, MAXDWORD, &whole) != 0;
  });
  // A file system without such locks still lets the book be written, as it always was.
  return locked || !otherProgramHolds(GetLastError());
}

bool emptyFile(Handle file) {
  const LARGE_INTEGER start{};
  return SetFilePointerEx(handleOf(file), start, nullptr, FILE_BEGIN) != 0 &&
         SetEndOfFile(handleOf(file)) != 0;
}

Created createTemporary(const Target& target, const std::string& name, Handle& file) {
  const std::wstring wide = pathIn(target, name);
  // DELETE access, kept until the file is in place or removed, refuses every other program that
  // would not let it be renamed and removed meanwhile.
  const EndingsHeld held;
  const HANDLE made = CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE | WRITE_DAC,
                                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return Created::NameTaken;
    return error == ERROR_ACCESS_DENIED ? Created::FolderRefuses : Created::Failed;
  }
  InterlockedExchangePointer(&liveTemporary, made);
  file = handleFrom(made);
  return Created::Yes;
}

// The access list (and whether it takes the folder's), the hidden, system and archive attributes
// and the creation time. A list the new file has already (all taken from the folder, as most
// books have) is not set again.
bool carryOver(const Target& target, Handle temporary) {
  const AccessList old(handleOf(target.file));
  const AccessList made(handleOf(temporary));
  DWORD error = old.error == ERROR_SUCCESS ? made.error : old.error;
  if (error == ERROR_SUCCESS && !(old == made)) {
    error = SetSecurityInfo(
        handleOf(temporary), SE_FILE_OBJECT,
        DACL_SECURITY_INFORMATION | (old.isProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                     : UNPROTECTED_DACL_SECURITY_INFORMATION),
        nullptr, nullptr, old.list, nullptr);
  }
  if (error != ERROR_SUCCESS && !unsupported(error)) return false;
  BY_HANDLE_FILE_INFORMATION book{};
  if (GetFileInformationByHandle(handleOf(target.file), &book) == 0) return false;
  FILE_BASIC_INFO basic{};  // times left 0 and attributes 0 stay as they are
  basic.CreationTime.LowPart = book.ftCreationTime.dwLowDateTime;
  basic.CreationTime.HighPart = static_cast<LONG>(book.ftCreationTime.dwHighDateTime);
  basic.FileAttributes =
      book.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  if (SetFileInformationByHandle(handleOf(temporary), FileBasicInfo, &basic, sizeof basic) != 0)
    return true;
  return unsupported(GetLastError());
}

bool putTemporaryInPlace(const Target& target, const std::string& /*name*/, Handle& file) {
  // The handle is closed only once the file has the book's name, which it takes in one step
  // through that handle: the old book or the new one is there at every moment.
  const std::wstring final = pathIn(target, target.name);
  const std::size_t nameBytes = final.size() * sizeof(wchar_t);
  std::vector<std::uint64_t> buffer((sizeof(FILE_RENAME_INFO) + nameBytes) / 8 + 1);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->FileNameLength = static_cast<DWORD>(nameBytes);
  final.copy(rename->FileName, final.size());
  const DWORD size = static_cast<DWORD>(buffer.size() * 8);
  const EndingsHeld held;
  const bool renamed =
      retrying([&] { return system::renameByHandle(handleOf(file), rename, size) != 0; });
  if (!renamed) return false;
  InterlockedExchangePointer(&liveTemporary, nullptr);
  release(file);  // the book is in place and on the disk: how the close goes no longer matters
  file = kNoHandle;
  return true;
}

void removeTemporary(const Target& /*target*/, const std::string& /*name*/, Handle& file) {
  const EndingsHeld held;
  static_cast<void>(retrying([&] { return markForRemoval(handleOf(file)); }));
  InterlockedExchangePointer(&liveTemporary, nullptr);
  release(file);
  file = kNoHandle;
}

Handle makeScratchFile(std::string& path) {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return kNoHandle;
  for (std::uint64_t attempt = 0; attempt < 100; ++attempt) {
    const std::uint64_t number =
        GetTickCount64() ^ (processNumber() << 32) ^ (attempt * 0x9E3779B97F4A7C15ull);
    wchar_t name[40];
    swprintf(name, 40, L"velmar2fb2-old-book-%016llx", static_cast<unsigned long long>(number));
    const std::wstring wide = std::wstring(folder) + name;
    const HANDLE made = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made != INVALID_HANDLE_VALUE) {
      path = narrow(wide.c_str());
      return handleFrom(made);
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return kNoHandle;
  }
  return kNoHandle;
}

bool copyWhole(Handle from, Handle to) {
  static char buffer[64 * 1024];  // off the stack: the program runs in small stacks too
  const LARGE_INTEGER start{};
  if (!emptyFile(to) || SetFilePointerEx(handleOf(from), start, nullptr, FILE_BEGIN) == 0)
    return false;
  for (;;) {
    DWORD count = 0;
    if (ReadFile(handleOf(from), buffer, sizeof buffer, &count, nullptr) == 0) return false;
    if (count == 0) return true;
    for (DWORD done = 0, written = 0; done < count; done += written) {
      if (WriteFile(handleOf(to), buffer + done, count - done, &written, nullptr) == 0 ||
          written == 0) {
        return false;
      }
    }
  }
}

void removeScratchFile(Handle file, const std::string& /*path*/) {
  static_cast<void>(markForRemoval(handleOf(file)));
  release(file);
}

Handle duplicate(Handle file) {
  HANDLE copy = nullptr;
  return DuplicateHandle(GetCurrentProcess(), handleOf(file), GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS) != 0
             ? handleFrom(copy)
             : kNoHandle;
}

void holdEndings() { AcquireSRWLockExclusive(&held); }

void releaseEndings() {
  ReleaseSRWLockExclusive(&held);
  yieldToAnEvent();
}

bool writeAll(Handle file, const char* bytes, std::size_t count) {
  while (count > 0) {
    const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    DWORD written = 0;
    if (system::writeFile(handleOf(file), bytes, chunk, &written) == 0 || written == 0)
      return false;
    bytes += written;
    count -= written;
  }
  return true;
}

// Windows writes a file out by itself; FlushFileBuffers at the end waits for the rest.
void startWriteBack(Handle, std::uint64_t, std::uint64_t) {}

bool syncFile(Handle file) { return system::flushFileBuffers(handleOf(file)) != 0; }

bool closeFile(Handle file) { return system::closeHandle(handleOf(file)) != 0; }

void release(Handle handle) {
  if (handle != kNoHandle) CloseHandle(handleOf(handle));
}

std::uint64_t processNumber() { return GetCurrentProcessId(); }

void ownTheEnding() {
  static_cast<void>(std::atexit(removeLiveTemporaryAtExit));
  static_cast<void>(SetConsoleCtrlHandler(onConsoleEvent, TRUE));
}

}  // namespace velmar::platform::output
