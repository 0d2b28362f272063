#pragma once
// For OutputFile only: the system work under the book file, one implementation per system
// (posix/output_file.cpp, win32/output_file.cpp). What to do with the book is decided in
// output_file.cpp, once for every system; these functions only report what the system says and
// carry out what they are told.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmar::platform::output {

// A descriptor (POSIX) or a HANDLE (Windows).
using Handle = std::intptr_t;
constexpr Handle kNoHandle = -1;

// What a name leads to.
enum class TargetKind {
  NewFile,  // nothing yet: the book will be a new file
  Book,     // an existing regular file, opened for writing (not truncated) in `handle`
  Stream,   // a device, pipe, socket or descriptor the program holds, opened in `handle`
};

struct Target {
  TargetKind kind = TargetKind::NewFile;
  Handle handle = kNoHandle;
  // The file's final place, symbolic links followed: `folder` is everything up to and with the
  // last separator (empty for the current folder), `name` the rest. UTF-8 on Windows.
  std::string folder;
  std::string name;
  // Other hard links name the book too, and must go on seeing it.
  bool otherLinks = false;
  // The folder takes the file's name from no other file: the book is a mount point, is someone
  // else's in a sticky folder, or the folder is append-only.
  bool renameRefused = false;
};

// Looks at what `path` names and opens what must be opened. False when the book cannot be
// written at all: no such folder, a folder named, a read-only book, a loop of links.
bool inspectTarget(const char* path, Target& target);

// Opens `path` for writing as it stands, created if missing, truncated otherwise.
Handle openAsItStands(const std::string& path);

// Empties a book opened by inspectTarget, to be rewritten where it stands.
bool truncateFile(Handle file);

enum class Created { Yes, NameTaken, FolderRefuses, Failed };

// Makes the new file `path`, failing if the name exists, and records it as a live temporary
// file: from now on every ending of the program the system lets it see removes it, until it is
// renamed or removed below. `replacing`: it will take an old book's place, so it starts private.
Created createTemporary(const std::string& path, bool replacing, Handle& file);

// Gives the temporary file what decides who may read or write the old book (`target`, a Book)
// and what the system keeps with it (owner, group, mode, access lists, extended attributes),
// where the rename would not keep them. False when any of it cannot be given: the book must not
// change hands that way.
bool carryOver(const Target& target, Handle temporary);

// Renames the temporary file over `finalPath` (replacing an existing book when `replacing`);
// on success it is no longer a live temporary file.
bool renameTemporary(const std::string& temporaryPath, const std::string& finalPath,
                     bool replacing);

// Removes the temporary file; it is no longer live either way.
void removeTemporary(const std::string& temporaryPath);

// Writes all `count` bytes; false on any failure (a full disk, a file-size limit, an I/O error).
bool writeAll(Handle file, const char* bytes, std::size_t count);

// Asks the system to start writing `count` bytes from `offset` out to the disk, not waiting.
// Only a hint.
void startWriteBack(Handle file, std::uint64_t offset, std::uint64_t count);

bool syncFile(Handle file);
bool closeFile(Handle file);

// Makes a rename in `folder` durable, where the system needs asking. Only best effort.
void syncFolder(const std::string& folder);

// A number that differs between processes running at once, for temporary names.
std::uint64_t processNumber();

}  // namespace velmar::platform::output
