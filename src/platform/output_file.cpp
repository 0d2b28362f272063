// What happens to the book, decided once for every system: a new book or a replacement through a
// temporary file, a book written in place, a stream written as it stands; then commit or
// abandon. The system work is in posix/output_file.cpp and win32/output_file.cpp.

#include "platform/output_file.h"

#include <chrono>

#include "platform/output_primitives.h"
#include "platform/output_seam.h"

namespace velmar::platform {
namespace {

using output::Handle;
using output::kNoHandle;

// The longest part of the book's name a temporary name keeps, in bytes, so that ".NAME.XXXXXX"
// still fits where the book's name did (255 bytes a name on POSIX, 255 UTF-16 units on Windows,
// which never has more units than UTF-8 has bytes).
constexpr std::size_t kKeptNameBytes = 200;
constexpr int kNameAttempts = 100;

// `name` cut to at most kKeptNameBytes, never inside a UTF-8 character.
std::string shortenedName(const std::string& name) {
  if (name.size() <= kKeptNameBytes) return name;
  std::size_t end = kKeptNameBytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

// Six letters and digits that differ from run to run and from try to try. Lower case only:
// Windows does not tell the cases apart.
std::string randomSuffix(unsigned attempt) {
  static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::uint64_t seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (output::processNumber() << 20) ^ (attempt * 0x9E3779B97F4A7C15ull);
  std::string suffix;
  for (int index = 0; index < 6; ++index) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    suffix += kDigits[(seed >> 33) % (sizeof kDigits - 1)];
  }
  return suffix;
}

enum class Started { Yes, FolderRefuses, NotFaithful, Failed };

// Makes the temporary file for the book `target` names; for an old book, gives it what the old
// one had. Only when it was made and kept do its handle and name come back in `file` and
// `temporaryPath`: nothing else of the name's is ever removed.
Started startTemporary(const output::Target& target, Handle& file, std::string& temporaryPath) {
  const bool replacing = target.kind == output::TargetKind::Book;
  const std::string prefix = target.folder + "." + shortenedName(target.name) + ".";
  std::string candidate;
  Handle made = kNoHandle;
  output::Created created = output::Created::NameTaken;
  for (int attempt = 0; attempt < kNameAttempts && created == output::Created::NameTaken;
       ++attempt) {
    candidate = prefix + randomSuffix(static_cast<unsigned>(attempt));
    created = output::createTemporary(candidate, replacing, made);
  }
  if (created == output::Created::FolderRefuses) return Started::FolderRefuses;
  if (created != output::Created::Yes) return Started::Failed;
  if (replacing && !output::carryOver(target, made)) {
    static_cast<void>(output::closeFile(made));
    output::removeTemporary(candidate);
    return Started::NotFaithful;
  }
  file = made;
  temporaryPath = candidate;
  return Started::Yes;
}

}  // namespace

OutputFile::~OutputFile() {
  if (way_ != Way::Closed || !temporaryPath_.empty()) abandon();
}

bool OutputFile::adopt(std::intptr_t handle, Way way) {
  if (handle == kNoHandle) return false;
  handle_ = handle;
  way_ = way;
  return true;
}

bool OutputFile::open(const char* path) {
  failed_ = false;
  replacing_ = false;
  written_ = 0;
  writeBackStarted_ = 0;

  output::Target target;
  if (!output::inspectTarget(path, target)) return false;
  folder_ = target.folder;
  finalPath_ = target.folder + target.name;
  switch (target.kind) {
    case output::TargetKind::Stream:
      return adopt(target.handle, Way::AsItStands);
    case output::TargetKind::NewFile:
      // A folder that would keep a temporary file but never let it take the book's name: the
      // book is made where it will stay.
      if (target.renameRefused) return adopt(output::openAsItStands(finalPath_), Way::InPlace);
      break;
    case output::TargetKind::Book:
      replacing_ = true;
      break;
  }
  if (!target.otherLinks && !target.renameRefused) {
    Handle temporary = kNoHandle;
    const Started started = startTemporary(target, temporary, temporaryPath_);
    // The old book was opened only to be looked at, unless it is to be written in place.
    if (replacing_ && (started == Started::Yes || started == Started::Failed))
      static_cast<void>(output::closeFile(target.handle));
    if (started == Started::Yes) return adopt(temporary, Way::ThroughTemporary);
    if (started == Started::Failed || !replacing_) return false;
    // The folder takes no new file, or the new file could not be given what the old book had:
    // written in place, as the only way left that changes nothing but the text.
  }
  // Rewritten where it stands: other hard links keep seeing it, and who may read or write it
  // stays as it was.
  if (!output::truncateFile(target.handle)) {
    static_cast<void>(output::closeFile(target.handle));
    return false;
  }
  return adopt(target.handle, Way::InPlace);
}

bool OutputFile::write(const char* bytes, std::size_t count) {
  if (way_ == Way::Closed) failed_ = true;  // nothing to write to
  if (failed_) return false;
  if (outputStepFails(OutputStep::Write) || !output::writeAll(handle_, bytes, count)) {
    failed_ = true;
    return false;
  }
  written_ += count;
  // A book that will be synced is sent on its way to the disk every few megabytes.
  constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} * 1024 * 1024;
  if (way_ != Way::AsItStands && written_ - writeBackStarted_ >= kWriteBackStep) {
    output::startWriteBack(handle_, writeBackStarted_, written_ - writeBackStarted_);
    writeBackStarted_ = written_;
  }
  return true;
}

bool OutputFile::commit() {
  if (way_ == Way::Closed || failed_) {
    abandon();
    return false;
  }
  const Handle file = handle_;
  const Way way = way_;
  way_ = Way::Closed;
  // A stream is not synced: a pipe or a terminal cannot be, and a device need not be.
  const bool synced =
      way == Way::AsItStands || (!outputStepFails(OutputStep::Sync) && output::syncFile(file));
  const bool closed = output::closeFile(file) && !outputStepFails(OutputStep::Close);
  failed_ = !(synced && closed);
  if (way != Way::ThroughTemporary) return !failed_;  // in place, what reached it stays

  if (failed_ || outputStepFails(OutputStep::Rename) ||
      !output::renameTemporary(temporaryPath_, finalPath_, replacing_)) {
    abandon();
    return false;
  }
  temporaryPath_.clear();
  // The new name must reach the disk too. The book is in place either way by now, and some
  // file systems refuse this, so it is not the book's failure.
  output::syncFolder(folder_);
  return true;
}

void OutputFile::abandon() {
  failed_ = true;
  if (way_ != Way::Closed) {
    // The book is being given up; how its closing went no longer matters.
    static_cast<void>(output::closeFile(handle_));
    way_ = Way::Closed;
  }
  if (!temporaryPath_.empty()) {
    output::removeTemporary(temporaryPath_);
    temporaryPath_.clear();
  }
}

}  // namespace velmar::platform
