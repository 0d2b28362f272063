#include "platform/text_file_writer.h"

#include <sys/stat.h>

#include <cstring>

namespace velmar::platform {

TextFileWriter::~TextFileWriter() {
  // Only a file abandoned without close() gets here: its result has no one to go to.
  if (file_ != nullptr) static_cast<void>(std::fclose(file_));
}

bool TextFileWriter::open(const char* path) {
  // Binary mode: the line-end translation is done here, not by the C library.
  file_ = std::fopen(path, "wb");
  if (file_ == nullptr) return false;
  // Unbuffered: this class keeps its own buffer, and a write error then shows at the write.
  // Should this fail, the stream stays buffered and an error still shows at close().
  static_cast<void>(std::setvbuf(file_, nullptr, _IONBF, 0));
  path_ = path;
  struct stat info {};
  isRegularFile_ = fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode);
  failed_ = false;
  used_ = 0;
  return true;
}

void TextFileWriter::write(const char* bytes, std::size_t count) {
  while (count > 0 && !failed_) {
    const void* lineFeed = std::memchr(bytes, '\n', count);
    if (lineFeed == nullptr) {
      putRaw(bytes, count);
      return;
    }
    const std::size_t run = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - bytes);
    putRaw(bytes, run);
    putRaw("\r\n", 2);
    bytes += run + 1;
    count -= run + 1;
  }
}

void TextFileWriter::putRaw(const char* bytes, std::size_t count) {
  if (failed_ || file_ == nullptr) return;
  if (count > kBufferSize - used_) {
    flushBuffer();
    if (count >= kBufferSize) {
      sink(bytes, count);
      return;
    }
  }
  std::memcpy(buffer_ + used_, bytes, count);
  used_ += count;
}

void TextFileWriter::flushBuffer() {
  if (used_ > 0) sink(buffer_, used_);
  used_ = 0;
}

void TextFileWriter::sink(const char* bytes, std::size_t count) {
  if (!failed_ && std::fwrite(bytes, 1, count, file_) != count) failed_ = true;
}

bool TextFileWriter::close() {
  if (file_ == nullptr) return !failed_;
  flushBuffer();
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

void TextFileWriter::discard() {
  used_ = 0;
  failed_ = true;
  // The write has already failed and been reported; a failure here changes nothing.
  if (file_ != nullptr) {
    static_cast<void>(std::fclose(file_));
    file_ = nullptr;
  }
  if (isRegularFile_ && path_ != nullptr) static_cast<void>(std::remove(path_));
}

}  // namespace velmar::platform
