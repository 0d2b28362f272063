#include "platform/file_identity.h"

#include <sys/stat.h>

namespace velmar::platform {

bool identityOfPath(const char* path, FileIdentity& result) {
  struct stat info {};
  if (stat(path, &info) != 0) return false;
  result.volume = static_cast<std::uint64_t>(info.st_dev);
  result.file = static_cast<std::uint64_t>(info.st_ino);
  return true;
}

}  // namespace velmar::platform
