#pragma once
// Names are UTF-8 inside the program and UTF-16 to Windows; a HANDLE is kept in the integer the
// platform headers use for a descriptor or a handle alike.

#include <windows.h>

#include <cstdint>
#include <string>

namespace velmar::platform {

std::wstring widen(const char* utf8);
std::string narrow(const wchar_t* utf16);

inline HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
inline std::intptr_t handleFrom(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

}  // namespace velmar::platform
