#pragma once
// Names inside the program are UTF-8; Windows takes and gives them as UTF-16.

#include <string>

namespace velmar::platform {

std::wstring widen(const char* utf8);
std::string narrow(const wchar_t* utf16);

}  // namespace velmar::platform
