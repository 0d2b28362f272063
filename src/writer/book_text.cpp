#include "writer/book_text.h"

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
    // A failure stays with the file: later writes do nothing, and commit() reports it.
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
  // The file gives the book up itself when anything failed before or during its commit.
  return file_.commit();
}

}  // namespace velmar
