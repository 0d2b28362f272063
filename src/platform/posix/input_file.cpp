#include "platform/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <string>

#include "descriptor_names.h"

namespace velmar::platform {

InputFile::~InputFile() {
  // An input file: closing it can lose nothing.
  if (handle_ != kClosed) static_cast<void>(::close(static_cast<int>(handle_)));
}

bool InputFile::open(const char* path) {
  buffer_.reset(new (std::nothrow) char[kBufferSize]);
  if (!buffer_) return false;
  int named = -1;
  std::string final;
  handle_ = followLinks(path, final, named) && named >= 0
                ? heldDescriptorFor(named, false)
                : ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
  failed_ = false;
  return handle_ != kClosed;
}

bool InputFile::fill() {
  next_ = 0;
  held_ = 0;
  while (handle_ != kClosed && !failed_) {
    const ssize_t count = ::read(static_cast<int>(handle_), buffer_.get(), kBufferSize);
    if (count >= 0) {
      held_ = static_cast<std::size_t>(count);
      return count > 0;
    }
    if (errno != EINTR) failed_ = true;  // a directory (EISDIR), an I/O error
  }
  return false;
}

bool InputFile::identity(FileIdentity& result) const {
  struct stat info {};
  return handle_ != kClosed && fstat(static_cast<int>(handle_), &info) == 0 &&
         !S_ISCHR(info.st_mode) && identityOfOpenFile(handle_, result);
}

}  // namespace velmar::platform
