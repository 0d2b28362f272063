#pragma once
// Writes the DVD list as one FictionBook 2.0 document in windows-1251 with CR LF line ends on
// every system (as a Windows text-mode stream stores them): a contents section with one linked
// entry per record, then one note section per record.

#include <cstddef>
#include <cstring>

#include "platform/line_ends.h"
#include "platform/local_time.h"
#include "platform/output_file.h"
#include "reader/dvd_list.h"

namespace velmar {

// The book's text on its way to the file, in large writes. Write errors are sticky: after one,
// writes do nothing and commit() reports it. The buffer is part of the object, so a program in
// a small stack keeps it on the heap.
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

// Writes the book, dated `dated`, into `file` prepared for `outputPath` (OutputFile::prepare).
// True when the whole book reached the file. Otherwise prints "Can't open output file [...]" or
// "Can't write output file [...]" and returns false; an existing book is then as it was.
bool writeFictionBook(platform::OutputFile& file, const char* outputPath, const DvdList& list,
                      const platform::LocalTime& dated);

// Writes `count` bytes with the entities of writer/plain_runs.h; a line feed becomes the book's
// line end and every other byte (a NUL included) passes unchanged.
void putEscaped(BookText& out, const char* bytes, std::size_t count);

}  // namespace velmar
