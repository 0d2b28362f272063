#include "platform/file_identity.h"

#include <windows.h>

#include "conversions.h"

namespace velmar::platform {

bool identityOfOpenFile(std::intptr_t handle, FileIdentity& result) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileInformationByHandle(handleOf(handle), &information) == 0) return false;
  result.volume = information.dwVolumeSerialNumber;
  result.file = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
  return true;
}

}  // namespace velmar::platform
