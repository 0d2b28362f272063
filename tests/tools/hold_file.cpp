// Holds files open the way other programs do behind the converter's back on Windows: a reader
// showing the book, or a virus scanner or sync client opening each new file for a moment.
//   hold_file hold PATH SHARE MS          opens PATH for MS milliseconds
//   hold_file scan FOLDER SHARE MS TOTAL  for TOTAL ms, opens each file that appears in FOLDER
//                                         for MS ms, and then names the files it opened
// SHARE is some of r, w, d (others may read, write, delete) or "none". "ready" is printed once
// the file is held or the folder is watched, so a driver knows when to start the converter.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

DWORD shareMode(const char* letters) {
  DWORD mode = 0;
  for (const char* letter = letters; *letter != '\0'; ++letter) {
    if (*letter == 'r') mode |= FILE_SHARE_READ;
    if (*letter == 'w') mode |= FILE_SHARE_WRITE;
    if (*letter == 'd') mode |= FILE_SHARE_DELETE;
  }
  return mode;
}

HANDLE openShared(const std::string& path, DWORD share) {
  return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

void ready() {
  std::puts("ready");
  std::fflush(stdout);
}

int scan(const std::string& folder, DWORD share, DWORD hold, DWORD total) {
  const DWORD start = GetTickCount();
  std::set<std::string> seen;
  std::string opened;
  // The first listing only records what was there before.
  for (bool first = true; first || GetTickCount() - start < total; first = false) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (!seen.insert(found.cFileName).second || first) continue;
        const HANDLE file = openShared(folder + "\\" + found.cFileName, share);
        if (file == INVALID_HANDLE_VALUE) continue;
        opened += std::string(found.cFileName) + "\n";
        Sleep(hold);
        CloseHandle(file);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    if (first) ready();
    Sleep(1);
  }
  std::fputs(opened.c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "hold" && argc == 5) {
    const HANDLE file = openShared(argv[2], shareMode(argv[3]));
    if (file == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "hold_file: %s cannot be opened (error %lu)\n", argv[2], GetLastError());
      return 1;
    }
    ready();
    Sleep(static_cast<DWORD>(std::atol(argv[4])));
    CloseHandle(file);
    return 0;
  }
  if (mode == "scan" && argc == 6) {
    return scan(argv[2], shareMode(argv[3]), static_cast<DWORD>(std::atol(argv[4])),
                static_cast<DWORD>(std::atol(argv[5])));
  }
  std::fputs("usage: hold_file hold PATH SHARE MS | scan FOLDER SHARE MS TOTAL\n", stderr);
  return 2;
}
