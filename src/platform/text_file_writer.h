#pragma once
// An output file in the text format of the book's readers: every line feed written becomes the
// pair CR LF, as a Windows text-mode stream would store it. A lone CR is written as it is.
// Write errors are sticky: once one write fails, later writes do nothing and close() reports it.

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace velmar::platform {

class TextFileWriter {
 public:
  TextFileWriter() = default;
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Creates or truncates the file. False when it cannot be opened.
  bool open(const char* path);

  void write(const char* bytes, std::size_t count);
  void write(std::string_view text) { write(text.data(), text.size()); }

  bool failed() const { return failed_; }

  // Flushes and closes the file; true when every byte reached it.
  bool close();

  // Closes the file and, when it is a regular file, removes it, so no partial book is left
  // behind. A device such as /dev/full is left alone.
  void discard();

 private:
  void putRaw(const char* bytes, std::size_t count);
  void flushBuffer();
  // The one place bytes leave for the file: every other member writes through it.
  void sink(const char* bytes, std::size_t count);

  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

  std::FILE* file_ = nullptr;
  const char* path_ = nullptr;
  bool isRegularFile_ = false;
  bool failed_ = false;
  std::size_t used_ = 0;
  char buffer_[kBufferSize];
};

}  // namespace velmar::platform
