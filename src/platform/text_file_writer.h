#pragma once
// The book as a text file of its readers: every line feed written becomes the pair CR LF, as a
// Windows text-mode stream would store it, on every system alike. A lone CR is written as it is.
// Bytes are gathered in a buffer and go to the output file in large writes. Write errors are
// sticky: once one write fails, later writes do nothing and commit() reports it. The buffer is
// part of the writer, so a program that must run in a small stack keeps its writer on the heap.

#include <cstddef>
#include <cstring>

#include "platform/output_file.h"

namespace velmar::platform {

class TextFileWriter {
 public:
  TextFileWriter() = default;
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Finds what `path` leads to (see OutputFile::prepare). False when it cannot be written at all.
  bool prepare(const char* path) { return file_.prepare(path); }

  // True when the book would be written into the open file `file` is.
  bool writesInto(const FileIdentity& file) const { return file_.writesInto(file); }

  // Starts writing the prepared book (see OutputFile::open). False when it cannot.
  bool open();

  // prepare() and open() in one.
  bool open(const char* path) { return prepare(path) && open(); }

  // Any text: each line feed in it is written as CR LF.
  void write(const char* bytes, std::size_t count);

  // Bytes already as the book stores them, copied as they are: text the caller knows to hold
  // no line feed (a writer that finds line feeds itself while it looks at every byte anyway
  // hands them to endLine), or a FixedText.
  void writeVerbatim(const char* bytes, std::size_t count) {
    if (count <= kBufferSize - used_) {
      if (count > 0) std::memcpy(buffer_ + used_, bytes, count);
      used_ += count;
      return;
    }
    putLarge(bytes, count);
  }

  // A line feed, written as CR LF.
  void endLine() { writeVerbatim("\r\n", 2); }

  // A text fixed when the program is built, made into the book's form then: each line feed in
  // it becomes CR LF, so writing it looks at no byte.
  template <std::size_t N>
  struct FixedText {
    char bytes[2 * N] = {};
    std::size_t size = 0;
  };
  template <std::size_t N>
  static constexpr FixedText<N> fixed(const char (&text)[N]) {
    FixedText<N> out;
    for (std::size_t at = 0; at + 1 < N; ++at) {  // the last char is the literal's NUL
      if (text[at] == '\n') out.bytes[out.size++] = '\r';
      out.bytes[out.size++] = text[at];
    }
    return out;
  }
  template <std::size_t N>
  void write(const FixedText<N>& text) {
    writeVerbatim(text.bytes, text.size);
  }

  bool failed() const { return file_.failed(); }

  // Writes out the buffer and makes the book final (OutputFile::commit); true when every byte
  // reached it. A book not committed is abandoned when the writer goes.
  bool commit();

  // The size of the buffer: large enough that a write call is rare beside the work of filling it.
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

 private:
  // What does not fit the buffer's free room.
  void putLarge(const char* bytes, std::size_t count);
  void flushBuffer();
  // The one way bytes leave this class.
  void sink(const char* bytes, std::size_t count);

  OutputFile file_;
  std::size_t used_ = 0;
  char buffer_[kBufferSize];
};

}  // namespace velmar::platform
