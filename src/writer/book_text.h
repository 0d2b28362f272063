#pragma once
// The book's text on its way to the file, in large writes, every line end as CR LF (as a Windows
// text-mode stream stores it) on every system. Write errors are sticky: after one, writes do
// nothing and commit() reports it. The buffer is part of the object, so a program in a small
// stack keeps it on the heap.

#include <cstddef>
#include <cstring>

#include "platform/line_ends.h"
#include "platform/output_file.h"

namespace velmar {

class BookText {
 public:
  // Writes into `file`, opened (OutputFile::open) and kept open while this lives.
  explicit BookText(platform::OutputFile& file) : file_(file) {}
  BookText(const BookText&) = delete;
  BookText& operator=(const BookText&) = delete;

  // Bytes already as the book stores them: text the caller knows to hold no line feed (those
  // go to endLine), or a FixedText.
  void writeVerbatim(const char* bytes, std::size_t count) {
    if (count <= kBufferSize - used_) {
      if (count > 0) std::memcpy(buffer_ + used_, bytes, count);
      used_ += count;
      return;
    }
    putLarge(bytes, count);
  }

  void endLine() { writeVerbatim(platform::kCrLf, 2); }

  // A text put in the book's form (CR LF) when the program is built: writing it reads no byte.
  template <std::size_t N>
  struct FixedText {
    char bytes[2 * N] = {};
    std::size_t size = 0;
  };
  template <std::size_t N>
  static constexpr FixedText<N> fixed(const char (&text)[N]) {
    FixedText<N> out;
    out.size = platform::copyWithCrLf(text, N - 1, out.bytes);  // the last char is the NUL
    return out;
  }
  template <std::size_t N>
  void write(const FixedText<N>& text) {
    writeVerbatim(text.bytes, text.size);
  }

  bool failed() const { return file_.failed(); }

  // Writes out the buffer and makes the book final; true when every byte reached it.
  bool commit();

  // The size of the buffer: large enough that a write call is rare beside the work of filling it.
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

 private:
  void putLarge(const char* bytes, std::size_t count);
  void flushBuffer();

  platform::OutputFile& file_;
  std::size_t used_ = 0;
  char buffer_[kBufferSize];
};

}  // namespace velmar
