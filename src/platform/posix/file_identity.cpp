#include "platform/file_identity.h"

#include <sys/stat.h>
#include <sys/vfs.h>

namespace velmar::platform {

bool identityOfOpenFile(std::intptr_t handle, FileIdentity& result) {
  const int file = static_cast<int>(handle);
  struct stat info {};
  if (fstat(file, &info) != 0) return false;
  result.volume = static_cast<std::uint64_t>(info.st_dev);
  result.file = static_cast<std::uint64_t>(info.st_ino);
  constexpr unsigned long kOverlayMagic = 0x794c7630;
  struct statfs system {};
  result.layered = fstatfs(file, &system) == 0 &&
                   static_cast<unsigned long>(system.f_type) == kOverlayMagic;
  result.changed = static_cast<std::uint64_t>(info.st_ctim.tv_sec) * 1000000000u +
                   static_cast<std::uint64_t>(info.st_ctim.tv_nsec);
  return true;
}

}  // namespace velmar::platform
