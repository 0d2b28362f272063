#include "platform/file_identity.h"

#include <windows.h>

#include "wide_names.h"

namespace velmar::platform {

bool identityOfPath(const char* path, FileIdentity& result) {
  // No access asked for: only the file's information is wanted, and links are followed.
  const HANDLE file =
      CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool known = GetFileInformationByHandle(file, &information) != 0;
  CloseHandle(file);
  if (!known) return false;
  result.volume = information.dwVolumeSerialNumber;
  result.file = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
  return true;
}

}  // namespace velmar::platform
