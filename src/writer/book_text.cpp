#include "writer/fiction_book_writer.h"

namespace velmar {

void BookText::putLarge(const char* bytes, std::size_t count) {
  // Fill the buffer and write it whole: the file sees only full-size writes.
  const std::size_t room = kBufferSize - used_;
  std::memcpy(buffer_ + used_, bytes, room);
  used_ = kBufferSize;
  bytes += room;
  count -= room;
  flushBuffer();
  if (count >= kBufferSize) {
    const std::size_t whole = count / kBufferSize * kBufferSize;
    static_cast<void>(file_.write(bytes, whole));
    bytes += whole;
    count -= whole;
  }
  if (count > 0) std::memcpy(buffer_, bytes, count);
  used_ = count;
}

void BookText::flushBuffer() {
  if (used_ > 0) static_cast<void>(file_.write(buffer_, used_));
  used_ = 0;
}

bool BookText::commit() {
  flushBuffer();
  return file_.commit();
}

}  // namespace velmar
