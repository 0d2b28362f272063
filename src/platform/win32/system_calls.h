#pragma once
// The system calls that carry the book's bytes to their place: its writes, its flush, its close
// and the rename that puts it in the old book's place. The program is built with
// system_calls.cpp, which makes them; the tests' variant of the library with a twin that can
// fail any of them on cue (tests/common/failing_system_calls_win32.cpp). For
// win32/output_file.cpp only.

#include <windows.h>

namespace velmar::platform::output::system {

BOOL writeFile(HANDLE file, const void* bytes, DWORD count, DWORD* written);
BOOL flushFileBuffers(HANDLE file);
BOOL closeHandle(HANDLE file);
BOOL renameByHandle(HANDLE file, FILE_RENAME_INFO* rename, DWORD size);

}  // namespace velmar::platform::output::system
