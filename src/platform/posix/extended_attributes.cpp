#include "extended_attributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace velmar::platform::output {
namespace {

// The names of a file's extended attributes, each ending in a NUL; empty where it has none or the
// file system keeps none.
bool attributeNames(int file, std::string& names) {
  for (;;) {
    const ssize_t size = flistxattr(file, nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    names.resize(static_cast<std::size_t>(size));
    const ssize_t count = flistxattr(file, &names[0], names.size());
    if (count >= 0) {
      names.resize(static_cast<std::size_t>(count));
      return true;
    }
    if (errno != ERANGE) return false;  // grown meanwhile: ask again
  }
}

bool attributeValue(int file, const char* name, std::string& value) {
  for (;;) {
    const ssize_t size = fgetxattr(file, name, nullptr, 0);
    if (size < 0) return false;
    value.resize(static_cast<std::size_t>(size));
    const ssize_t read = fgetxattr(file, name, &value[0], value.size());
    if (read >= 0) {
      value.resize(static_cast<std::size_t>(read));
      return true;
    }
    if (errno != ERANGE) return false;
  }
}

bool listed(const std::string& names, const char* name) {
  for (std::size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
    if (std::strcmp(&names[at], name) == 0) return true;
  }
  return false;
}

}  // namespace

// Gives `temporary` exactly the old book's extended attributes: the access list
// (system.posix_acl_access), user.* and the rest. A security label the system gave the new file
// is left alone where it already matches.
bool copyExtendedAttributes(int book, int temporary) {
  std::string bookNames;
  std::string temporaryNames;
  if (!attributeNames(book, bookNames) || !attributeNames(temporary, temporaryNames)) return false;
  std::string value;
  std::string present;
  for (std::size_t at = 0; at < bookNames.size(); at += std::strlen(&bookNames[at]) + 1) {
    const char* name = &bookNames[at];
    if (!attributeValue(book, name, value)) return false;
    if (attributeValue(temporary, name, present) && present == value) continue;
    if (fsetxattr(temporary, name, value.data(), value.size(), 0) != 0) return false;
  }
  // What the folder's default access list gave the new file, the old book did not have.
  for (std::size_t at = 0; at < temporaryNames.size(); at += std::strlen(&temporaryNames[at]) + 1) {
    const char* name = &temporaryNames[at];
    if (std::strncmp(name, "security.", 9) == 0 || listed(bookNames, name)) continue;
    if (fremovexattr(temporary, name) != 0) return false;
  }
  return true;
}

}  // namespace velmar::platform::output
