#include "platform/text_file_writer.h"

namespace velmar::platform {

bool TextFileWriter::open() {
  used_ = 0;
  return file_.open();
}

void TextFileWriter::write(const char* bytes, std::size_t count) {
  const char* const end = bytes + count;
  for (;;) {
    const void* lineFeed = std::memchr(bytes, '\n', static_cast<std::size_t>(end - bytes));
    if (lineFeed == nullptr) break;
    const char* const at = static_cast<const char*>(lineFeed);
    writeVerbatim(bytes, static_cast<std::size_t>(at - bytes));
    endLine();
    bytes = at + 1;
  }
  writeVerbatim(bytes, static_cast<std::size_t>(end - bytes));
}

void TextFileWriter::putLarge(const char* bytes, std::size_t count) {
  // Fill the buffer up and write it out whole, so the file sees writes of the full size.
  const std::size_t room = kBufferSize - used_;
  std::memcpy(buffer_ + used_, bytes, room);
  used_ = kBufferSize;
  bytes += room;
  count -= room;
  flushBuffer();
  if (count >= kBufferSize) {
    const std::size_t whole = count / kBufferSize * kBufferSize;
    sink(bytes, whole);
    bytes += whole;
    count -= whole;
  }
  if (count > 0) std::memcpy(buffer_, bytes, count);
  used_ = count;
}

void TextFileWriter::flushBuffer() {
  if (used_ > 0) sink(buffer_, used_);
  used_ = 0;
}

void TextFileWriter::sink(const char* bytes, std::size_t count) {
  // A failure stays with the file: later writes do nothing, and commit() reports it.
  static_cast<void>(file_.write(bytes, count));
}

bool TextFileWriter::commit() {
  flushBuffer();
  // The file gives the book up itself when anything failed before or during its commit.
  return file_.commit();
}

}  // namespace velmar::platform
