#pragma once
// The program keeps a HANDLE in the integer the platform headers use for a descriptor or a
// handle alike.

#include <windows.h>

#include <cstdint>

namespace velmar::platform {

inline HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
inline std::intptr_t handleFrom(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

}  // namespace velmar::platform
