#include "system_calls.h"

namespace velmar::platform::output::system {

BOOL writeFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  return WriteFile(file, bytes, count, written, nullptr);
}
BOOL flushFileBuffers(HANDLE file) { return FlushFileBuffers(file); }
BOOL closeHandle(HANDLE file) { return CloseHandle(file); }
BOOL renameByHandle(HANDLE file, FILE_RENAME_INFO* rename, DWORD size) {
  return SetFileInformationByHandle(file, FileRenameInfo, rename, size);
}

}  // namespace velmar::platform::output::system
