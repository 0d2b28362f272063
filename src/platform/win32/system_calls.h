#pragma once
// The calls that carry the book's bytes (see output_primitives.h), for win32/output_file.cpp
// only; the tests' twin is tests/common/failing_system_calls_win32.cpp.

#include <windows.h>

namespace velmar::platform::output::system {

BOOL writeFile(HANDLE file, const void* bytes, DWORD count, DWORD* written);
BOOL flushFileBuffers(HANDLE file);
BOOL closeHandle(HANDLE file);
BOOL renameByHandle(HANDLE file, FILE_RENAME_INFO* rename, DWORD size);

}  // namespace velmar::platform::output::system
