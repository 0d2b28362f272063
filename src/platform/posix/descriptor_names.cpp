#include "descriptor_names.h"

#include <cstdlib>

namespace velmar::platform {
namespace {

std::string canonicalFolder(const std::string& folder) {
  char* resolved = realpath(folder.c_str(), nullptr);
  if (resolved == nullptr) return std::string();
  std::string result(resolved);
  std::free(resolved);
  return result;
}

}  // namespace

int descriptorNamed(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return -1;
  const std::string digits = path.substr(slash + 1);
  // The system's own entries are "0", "1", "12": "01" names nothing there, and must not be
  // taken for descriptor 1 either.
  if (digits.empty() || digits.size() > 9 || (digits[0] == '0' && digits.size() > 1) ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  const std::string folder = canonicalFolder(path.substr(0, slash + 1));
  if (folder.empty()) return -1;
  const int number = static_cast<int>(std::strtol(digits.c_str(), nullptr, 10));  // 9 digits fit
  for (const char* own : {"/proc/self/fd", "/proc/thread-self/fd", "/dev/fd"}) {
    if (folder == canonicalFolder(own)) return number;
  }
  return -1;
}

}  // namespace velmar::platform
