// Holds files open the way other programs do behind the converter's back on Windows: a reader
// showing the book, a virus scanner or sync client opening each new file for a moment, a program
// locking the book, a program sending the database through a named pipe.
//   hold_file hold PATH SHARE MS          opens PATH for MS milliseconds
//   hold_file lock PATH SHARE MS          the same, and locks the whole file (LockFileEx)
//   hold_file scan FOLDER SHARE MS TOTAL  for TOTAL ms, opens each file that appears in FOLDER
//                                         (trying again at once while it is refused) for MS ms,
//                                         and then names the files it opened
//   hold_file pipe PIPE FILE              sends FILE to the first reader of the named pipe PIPE,
//                                         waits until it has all of it, then disconnects it
// SHARE is some of r, w, d (others may read, write, delete) or "none". "ready" is printed once
// the file is held or the folder is watched, so a driver knows when to start the converter.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

HANDLE openShared(const std::string& path, const std::string& share) {
  const DWORD mode = (share.find('r') != std::string::npos ? FILE_SHARE_READ : 0) |
                     (share.find('w') != std::string::npos ? FILE_SHARE_WRITE : 0) |
                     (share.find('d') != std::string::npos ? FILE_SHARE_DELETE : 0);
  return CreateFileA(path.c_str(), GENERIC_READ, mode, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

int scan(const std::string& folder, const std::string& share, DWORD hold, DWORD total) {
  const DWORD start = GetTickCount();
  std::set<std::string> seen;
  std::string opened;
  // The first listing only records what was there before.
  for (bool first = true; first || GetTickCount() - start < total; first = false) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    while (search != INVALID_HANDLE_VALUE) {
      const std::string name = found.cFileName;
      const bool isNew = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                         (first ? !seen.insert(name).second : seen.count(name) == 0);
      // Refused, it tries again at once, to have the file the moment the one who made it lets go.
      HANDLE file = INVALID_HANDLE_VALUE;
      while (isNew && (file = openShared(folder + "\\" + name, share)) == INVALID_HANDLE_VALUE &&
             GetLastError() == ERROR_SHARING_VIOLATION && GetTickCount() - start < total) {
      }
      if (file != INVALID_HANDLE_VALUE) {
        seen.insert(name);
        opened += name + "\n";
        Sleep(hold);
        CloseHandle(file);
      }
      if (!FindNextFileA(search, &found)) break;
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    if (first) {
      std::puts("ready");
      std::fflush(stdout);
    }
    Sleep(1);
  }
  std::fputs(opened.c_str(), stdout);
  return 0;
}

int servePipe(const char* name, const char* path) {
  const HANDLE pipe = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                       65536, 65536, 0, nullptr);
  std::FILE* data = std::fopen(path, "rb");
  if (pipe == INVALID_HANDLE_VALUE || data == nullptr) return 1;
  std::puts("ready");
  std::fflush(stdout);
  if (ConnectNamedPipe(pipe, nullptr) == 0 && GetLastError() != ERROR_PIPE_CONNECTED) return 1;
  static char buffer[65536];
  DWORD written = 0;
  for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, data)) > 0;)
    if (WriteFile(pipe, buffer, static_cast<DWORD>(count), &written, nullptr) == 0) return 1;
  FlushFileBuffers(pipe);  // returns once the reader has read it all
  DisconnectNamedPipe(pipe);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "scan" && argc == 6)
    return scan(argv[2], argv[3], std::atol(argv[4]), std::atol(argv[5]));
  if (mode == "pipe" && argc == 4) return servePipe(argv[2], argv[3]);
  if ((mode != "hold" && mode != "lock") || argc != 5) {
    std::fputs("usage: hold_file hold|lock PATH SHARE MS | scan FOLDER SHARE MS TOTAL | pipe PIPE FILE\n",
               stderr);
    return 2;
  }
  const HANDLE file = openShared(argv[2], argv[3]);
  OVERLAPPED whole{};
  if (file == INVALID_HANDLE_VALUE ||
      (mode == "lock" &&
       LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) == 0)) {
    std::fprintf(stderr, "hold_file: %s cannot be opened (error %lu)\n", argv[2], GetLastError());
    return 1;
  }
  std::puts("ready");
  std::fflush(stdout);
  Sleep(std::atol(argv[4]));
  CloseHandle(file);
  return 0;
}
