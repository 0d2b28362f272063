#pragma once
// The system work under OutputFile, one implementation per system (posix/, win32/
// output_file.cpp): these functions report what the system says and do what they are told;
// output_file.cpp decides. The calls that carry the book's bytes go through system_calls.h, which
// the tests replace with calls that fail on cue.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_identity.h"

namespace velmar::platform::output {

// A descriptor (POSIX) or a HANDLE (Windows).
using Handle = std::intptr_t;
constexpr Handle kNoHandle = -1;

enum class Plan {
  Stream,            // a device, pipe, socket or descriptor the program holds: written as it stands
  InPlace,           // an old book rewritten where it stands, or a new one made where it will stay
  ThroughTemporary,  // a new file beside the book, renamed over its name at the end
};

// What a name leads to, found once; the handles stay open, so no later look at the name can
// lead elsewhere.
struct Target {
  Plan plan = Plan::ThroughTemporary;
  Handle file = kNoHandle;  // the stream or the old book; none for a new book
  bool replacing = false;   // an old book is there
  bool identityKnown = false;
  FileIdentity identity;  // of the stream or the old book
  // Where the name lives: POSIX holds the folder open, so the temporary file is made, renamed
  // and removed there whatever happens to its path; Windows names it (UTF-8, with its separator).
  Handle folderHandle = kNoHandle;
  std::string folder;
  std::string name;
};

// Finds what `path` leads to and opens it, creating and changing nothing. False when the book
// cannot be written at all (no such folder, a folder named, a read-only book, a descriptor not
// open for writing, a loop of links); the identity is filled in wherever a file was found.
bool inspectTarget(const char* path, Target& target);

// Makes a new book where it will stay; only a file this call creates is opened.
Handle createInPlace(const Target& target);

// Locks a book rewritten in place, so two runs take turns, waiting while the run's patience
// lasts (patience.h). False when another program still holds it; the lock goes with the handle.
bool lockForRewrite(Handle file);

// Empties the open file, to be written from its start.
bool emptyFile(Handle file);

enum class Created { Yes, NameTaken, FolderRefuses, Failed };

// Makes the new file `name` beside the book (never an existing one) and records it as the live
// temporary file, which every ending of the program the system lets it see removes, until
// putTemporaryInPlace or removeTemporary.
Created createTemporary(const Target& target, const std::string& name, Handle& file);

// Gives the temporary file what the rename would not keep of the old book: who may read or
// write it, and what the system keeps with it. False when any of it cannot be given: the book
// must not change hands that way.
bool carryOver(const Target& target, Handle temporary);

// Renames the temporary file over the book's name, durably where the system needs asking, and
// closes `file` (kNoHandle once closed). True when every step succeeded.
bool putTemporaryInPlace(const Target& target, const std::string& name, Handle& file);

// Removes the temporary file and closes `file` if still open.
void removeTemporary(const Target& target, const std::string& name, Handle& file);

// The copy aside of a book rewritten in place: a new empty file of the program's own in the
// system's folder for temporary files, open for reading and writing (kNoHandle when none can be
// made); copyWhole empties `to` and copies all of `from`, whatever their positions.
Handle makeScratchFile(std::string& path);
bool copyWhole(Handle from, Handle to);
void removeScratchFile(Handle file, const std::string& path);

// A second handle of the same open file.
Handle duplicate(Handle file);

// Between these, the endings that can be put off (catchable signals, console events) wait, so
// that they too leave a book rewritten in place whole, old or new.
void holdEndings();
void releaseEndings();

// Writes all `count` bytes; false on any failure, a write that makes no progress included.
bool writeAll(Handle file, const char* bytes, std::size_t count);

// A hint: start writing `count` bytes from `offset` out to the disk, not waiting.
void startWriteBack(Handle file, std::uint64_t offset, std::uint64_t count);

// The book's bytes reach the disk; the handle is closed. Both report failure.
bool syncFile(Handle file);
bool closeFile(Handle file);

// Closes a handle only looked through; nothing to report.
void release(Handle handle);

// Differs between processes running at once, for temporary names.
std::uint64_t processNumber();

}  // namespace velmar::platform::output
