#include "platform/text_file_writer.h"

#include <cstring>

namespace velmar::platform {

bool TextFileWriter::open(const char* path) {
  failed_ = false;
  used_ = 0;
  return file_.open(path);
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
  if (failed_) return;
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
  if (!failed_ && !file_.write(bytes, count)) failed_ = true;
}

bool TextFileWriter::close() {
  flushBuffer();
  if (failed_) {
    file_.abandon();
    return false;
  }
  failed_ = !file_.commit();
  return !failed_;
}

void TextFileWriter::discard() {
  used_ = 0;
  failed_ = true;
  file_.abandon();
}

}  // namespace velmar::platform
