#pragma once
// The book file, written so that a failure never costs the user a good book: the old book or
// the whole new one is left, and nothing of the run beside it. How each kind of book is written
// is told in output_file.cpp. What the name leads to is found once, by prepare(), and held open:
// the check that the book is not the database and the writing itself both deal with that, never
// with the name again.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_identity.h"
#include "platform/output_primitives.h"

namespace velmar::platform {

class OutputFile {
 public:
  OutputFile() = default;
  // A book never committed is abandoned.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Finds what `path` (UTF-8 on Windows) leads to and how the book will be written there,
  // creating and changing nothing. False when the book cannot be written at all.
  bool prepare(const char* path);

  // True when the book would be written into the open file `file` is: the database, say.
  bool writesInto(const FileIdentity& file) const;

  // Starts writing the prepared book. False, with nothing left behind, when it cannot.
  bool open();

  // Writes all `count` bytes; false once any write has failed (later writes do nothing).
  bool write(const char* bytes, std::size_t count);

  // True once a write has failed, or the book was given up.
  bool failed() const { return failed_; }

  // Makes the written book the file of that name. On failure, as after abandon(): false, and
  // the old book is as it was.
  bool commit();

  // Gives up: removes what the run made and puts a book rewritten in place back as it was.
  void abandon();

  // Where the old bytes of a book rewritten in place were left when they could not be put back;
  // empty otherwise.
  const std::string& keptCopy() const { return keptCopy_; }

 private:
  enum class State { Closed, Prepared, Writing };

  bool startTemporary();
  bool startInPlace();
  void putOldBookBack();
  void releaseTarget();

  State state_ = State::Closed;
  output::Target target_;
  output::Handle handle_ = output::kNoHandle;  // the file written, once open
  bool failed_ = false;
  // Bytes written, and how many the disk has been asked to take already.
  std::uint64_t written_ = 0;
  std::uint64_t writeBackStarted_ = 0;
  std::string temporaryName_;  // in the book's folder; empty when none is live
  // The copy aside of a book rewritten in place, until the new book is whole or the old is back.
  output::Handle copy_ = output::kNoHandle;
  std::string copyPath_;
  std::string keptCopy_;
  bool endingsHeld_ = false;  // while a book is rewritten in place
};

}  // namespace velmar::platform
