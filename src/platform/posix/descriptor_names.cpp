#include "descriptor_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace velmar::platform {
namespace {

std::string canonicalFolder(const std::string& folder) {
  char resolved[PATH_MAX];
  return realpath(folder.c_str(), resolved) != nullptr ? resolved : "";
}

// Some links are not what their text says: /proc/PID/fd/N of another program reads "NAME
// (deleted)" or "/memfd:NAME", yet the system opens the file itself through it. A book made
// from such text would go where nothing leads; a link is only taken by its text when the text
// leads to the file the system finds, or both find none (a new book).
bool textLeadsWhereTheSystemDoes(const std::string& link, const std::string& text) {
  struct stat bySystem {};
  struct stat byText {};
  const bool systemFinds = stat(link.c_str(), &bySystem) == 0;
  const bool textFinds = stat(text.c_str(), &byText) == 0;
  return systemFinds == textFinds &&
         (!systemFinds || (bySystem.st_dev == byText.st_dev && bySystem.st_ino == byText.st_ino));
}

// The descriptor `path` names in this process's own descriptor folder, spelled as the system
// spells its entries ("1", not "01", which names nothing there); -1 for any other path.
int descriptorNamed(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return -1;
  const std::string digits = path.substr(slash + 1);
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

}  // namespace

std::string folderPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool followLinks(const std::string& path, std::string& target, int& descriptor) {
  std::string current = path;
  std::string link(PATH_MAX, '\0');
  for (int hop = 0; hop < 40; ++hop) {
    descriptor = descriptorNamed(current);
    if (descriptor >= 0) return true;
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = current;
      return hop == 0 || textLeadsWhereTheSystemDoes(path, current);
    }
    const ssize_t length = readlink(current.c_str(), &link[0], link.size() - 1);
    if (length <= 0) return false;
    const std::string next(link, 0, static_cast<std::size_t>(length));
    current = next[0] == '/' ? std::string() : folderPart(current);
    current += next;
  }
  return false;  // a loop of links
}

int heldDescriptorFor(int held, bool forWriting) {
  const int flags = fcntl(held, F_GETFL);
  if (flags < 0) return -1;
  if ((flags & O_ACCMODE) == (forWriting ? O_RDONLY : O_WRONLY)) return -1;
  return fcntl(held, F_DUPFD_CLOEXEC, 3);
}

}  // namespace velmar::platform
