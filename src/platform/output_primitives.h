#pragma once
// For OutputFile only: the system work under the book file, one implementation per system
// (posix/output_file.cpp, win32/output_file.cpp). What to do with the book is decided in
// output_file.cpp, once for every system; these functions only report what the system says and
// carry out what they are told. The calls that carry the book's bytes go through a file of their
// own per system (system_calls.h), which the tests replace with one that fails on cue.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_identity.h"

namespace velmar::platform::output {

// A descriptor (POSIX) or a HANDLE (Windows).
using Handle = std::intptr_t;
constexpr Handle kNoHandle = -1;

// How the book will be written: the one decision inspection makes.
enum class Plan {
  Stream,            // a device, pipe, socket or descriptor the program holds: written as it stands
  InPlace,           // an old book rewritten where it stands, or a new one made where it will stay
  ThroughTemporary,  // a new file beside the book, renamed over its name at the end
};

// What a name leads to, found once and then used as it was found: the handles stay open, so no
// later look at the name can lead somewhere else.
struct Target {
  Plan plan = Plan::ThroughTemporary;
  // The stream, or the old book (written in place, or only looked at to give the temporary file
  // what it has); kNoHandle when there is no book yet.
  Handle file = kNoHandle;
  bool replacing = false;  // an old book is there
  // The file the bytes will go to: the stream's or the old book's (not known for a new book).
  bool identityKnown = false;
  FileIdentity identity;
  // Where the book's name lives. POSIX holds the folder open (`folderHandle`), so that the
  // temporary file is made, renamed and removed in that folder however long its path or
  // whatever happens to it meanwhile; Windows names it (`folder`, UTF-8, with its separator).
  Handle folderHandle = kNoHandle;
  std::string folder;
  std::string name;
};

// Looks at what `path` names and opens what must be opened, creating and changing nothing.
// False when the book cannot be written at all (no such folder, a folder named, a read-only
// book, a descriptor not open for writing, a loop of links); the identity is still filled in
// where a file was found.
bool inspectTarget(const char* path, Target& target);

// Makes a new book where it will stay: `target.name` in its folder. Only a file this call
// creates is opened: a name that came to exist since the inspection is not the run's to write.
Handle createInPlace(const Target& target);

// Takes the book to be rewritten in place, so that two runs take turns: waits, as long as the
// run's patience lasts (patience.h), until no other program holds a lock on it. False when it is
// still held then. The lock goes with the handle.
bool lockForRewrite(Handle file);

// Empties the open file, to be written from its start.
bool emptyFile(Handle file);

enum class Created { Yes, NameTaken, FolderRefuses, Failed };

// Makes the new file `name` beside the book, failing if the name exists, and records it as the
// live temporary file: from now on every ending of the program the system lets it see removes
// it, until it is put in place or removed below.
Created createTemporary(const Target& target, const std::string& name, Handle& file);

// Gives the temporary file what decides who may read or write the old book (`target.file`) and
// what the system keeps with it, where the rename would not keep them. False when any of it
// cannot be given: the book must not change hands that way.
bool carryOver(const Target& target, Handle temporary);

// Puts the temporary file `name`, written through `file`, in the book's place, replacing an old
// book, and closes `file` (setting it to kNoHandle once closed). True when the book is in place
// and every step succeeded; the file is then no longer a live temporary file. The new name is
// made durable too, where the system needs asking, as far as the file system lets it.
bool putTemporaryInPlace(const Target& target, const std::string& name, Handle& file);

// Removes the temporary file `name` and closes `file` if it is still open; it is no longer live
// either way.
void removeTemporary(const Target& target, const std::string& name, Handle& file);

// A new, empty file of the program's own in the system's folder for temporary files, open for
// reading and writing, its path in `path`; kNoHandle when none can be made. For the copy of a book
// rewritten in place.
Handle makeScratchFile(std::string& path);

// Empties `to` and copies the whole of `from` into it, both from their start, whatever their
// positions. False when any of it failed.
bool copyWhole(Handle from, Handle to);

// Closes and removes a scratch file.
void removeScratchFile(Handle file, const std::string& path);

// A second handle of the same open file.
Handle duplicate(Handle file);

// From holdEndings() to releaseEndings(), the endings of the program that can be put off (the
// signals that can be caught, the console's events) wait: a book rewritten in place is then
// left whole, old or new, by them too.
void holdEndings();
void releaseEndings();

// Writes all `count` bytes; false on any failure (a full disk, a file-size limit, an I/O error,
// a write that makes no progress).
bool writeAll(Handle file, const char* bytes, std::size_t count);

// Asks the system to start writing `count` bytes from `offset` out to the disk, not waiting.
// Only a hint.
void startWriteBack(Handle file, std::uint64_t offset, std::uint64_t count);

// The book's bytes reach the disk, and its handle is closed; both report failure.
bool syncFile(Handle file);
bool closeFile(Handle file);

// Closes a handle that was only looked through (a folder, an old book); nothing to report.
void release(Handle handle);

// A number that differs between processes running at once, for temporary names.
std::uint64_t processNumber();

}  // namespace velmar::platform::output
