#pragma once
// The book file, written so that a failure never costs the user a good book: whatever happens,
// the old book or the whole new one is left, and nothing of the run beside it.
//
// An old book is replaced by a temporary file made beside it (".NAME." and six random
// characters), given what the old book had (owner, mode, access lists, attributes), flushed and
// renamed over it. Where that could not keep what the book is (other hard links, a mount point,
// an append-only folder...), the book is rewritten in place, locked, its old bytes copied aside
// first and put back on failure. Streams (devices, pipes, descriptors the program holds) are
// written as they stand. output_file.cpp has the states and the plans.
//
// What the name leads to is found once, by prepare(), and held open from then on: the check
// that the book is not the database and the writing itself both deal with that, never with the
// name again.

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
  // creating and changing nothing. False when the book cannot be written at all: no such
  // folder, no permission, a read-only file.
  bool prepare(const char* path);

  // True when the book would be written into the open file `file` is: the database, say.
  bool writesInto(const FileIdentity& file) const;

  // Starts writing the prepared book: locks and empties a book written in place, or makes the
  // temporary file. False, with nothing left behind, when it cannot.
  bool open();

  // Writes all `count` bytes; false once any write has failed (later writes do nothing).
  bool write(const char* bytes, std::size_t count);

  // True once a write has failed, or the book was given up.
  bool failed() const { return failed_; }

  // Makes the written book the file of that name. True on success; on failure the temporary
  // file is removed, an old book is as it was, and false is returned (a book written in place
  // keeps what reached it).
  bool commit();

  // Gives up: closes the file and removes the temporary file, if one was made; a book rewritten
  // in place gets its old bytes back.
  void abandon();

  // Where the old bytes of a book rewritten in place were left because they could not be put
  // back; empty when they were (or there were none to keep).
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
  // Bytes written, and how many of them the disk has been asked to take already (the disk
  // writes while the rest is made, so the sync at the end has only the tail left).
  std::uint64_t written_ = 0;
  std::uint64_t writeBackStarted_ = 0;
  std::string temporaryName_;  // in the book's folder; empty when none is live
  // The copy of a book rewritten in place, until the new book is whole or the old one is back.
  output::Handle copy_ = output::kNoHandle;
  std::string copyPath_;
  std::string keptCopy_;
  bool endingsHeld_ = false;  // while a book is rewritten in place
};

}  // namespace velmar::platform
