// The book file's system calls (win32/system_calls.h) of the tests' variant of the library:
// the system's own, each failing with ERROR_IO_DEVICE while an OutputFaultScope says so.

#include "output_fault_scope.h"
#include "platform/win32/system_calls.h"

namespace velmar::platform::output::system {
namespace {

bool failing(OutputStep step) {
  if (!outputStepFails(step)) return false;
  SetLastError(ERROR_IO_DEVICE);
  return true;
}

}  // namespace

BOOL writeFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  return failing(OutputStep::Write) ? FALSE : WriteFile(file, bytes, count, written, nullptr);
}
BOOL flushFileBuffers(HANDLE file) {
  return failing(OutputStep::Sync) ? FALSE : FlushFileBuffers(file);
}
// The handle is closed either way, as a failing CloseHandle leaves it.
BOOL closeHandle(HANDLE file) {
  return CloseHandle(file) == 0 || failing(OutputStep::Close) ? FALSE : TRUE;
}
BOOL renameByHandle(HANDLE file, FILE_RENAME_INFO* rename, DWORD size) {
  return failing(OutputStep::Rename) ? FALSE
                                     : SetFileInformationByHandle(file, FileRenameInfo, rename, size);
}

}  // namespace velmar::platform::output::system
