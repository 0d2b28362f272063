#include "platform/file_identity.h"

#include <sys/stat.h>

namespace velmar::platform {

bool identityOfOpenFile(std::intptr_t handle, FileIdentity& result) {
  struct stat info {};
  if (fstat(static_cast<int>(handle), &info) != 0) return false;
  result.volume = static_cast<std::uint64_t>(info.st_dev);
  result.file = static_cast<std::uint64_t>(info.st_ino);
  return true;
}

}  // namespace velmar::platform
