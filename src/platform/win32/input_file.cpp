#include "platform/input_file.h"

#include <windows.h>

#include <new>

#include "conversions.h"

namespace velmar::platform {

InputFile::~InputFile() {
  if (handle_ != kClosed) CloseHandle(handleOf(handle_));
}

bool InputFile::open(const char* path) {
  buffer_.reset(new (std::nothrow) char[kBufferSize]);
  if (!buffer_) return false;
  // Others may go on reading and writing the database meanwhile, as with any reader.
  const HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = handleFrom(file);
  failed_ = false;
  return true;
}

bool InputFile::fill() {
  next_ = 0;
  held_ = 0;
  if (handle_ == kClosed || failed_) return false;
  DWORD count = 0;
  if (ReadFile(handleOf(handle_), buffer_.get(), static_cast<DWORD>(kBufferSize), &count,
               nullptr) == 0) {
    // A pipe whose writer has finished ends this way, closed or disconnected; anything else is a
    // read error.
    const DWORD error = GetLastError();
    if (error != ERROR_BROKEN_PIPE && error != ERROR_PIPE_NOT_CONNECTED) failed_ = true;
    return false;
  }
  held_ = count;
  return count > 0;
}

bool InputFile::identity(FileIdentity& result) const {
  if (handle_ == kClosed || GetFileType(handleOf(handle_)) != FILE_TYPE_DISK) return false;
  return identityOfOpenFile(handle_, result);
}

}  // namespace velmar::platform
