// What happens to the book, decided once for every system; the system work is in
// posix/ and win32/output_file.cpp.
//
//                 prepare()              open()                  commit()
//      Closed ─────────────▶ Prepared ─────────────▶ Writing ─────────────▶ Closed
//        ▲                      │                       │                 (the book in place)
//        └──────────────────────┴───────────────────────┘
//                abandon(), or any failure: what the run made goes, an old book is as it was
//
// open() carries out the plan prepare() settled:
//   Stream            written as it stands; commit() only closes it.
//   ThroughTemporary  ".NAME.xxxxxx" is made beside the book and given what the old book had;
//                     commit() syncs it and renames it over the book.
//   InPlace           where a rename could not keep what the book is (other hard links, a mount
//                     point, an append-only folder): the old book is locked, copied aside and
//                     emptied, or a new one created where it will stay; commit() syncs it and
//                     drops the copy, a failure copies the old bytes back. Also taken when the
//                     folder takes no new file or the new file cannot be given what the old book
//                     had: it changes nothing but the text, and keeps the same promise.
// The system layer keeps the one record of a live temporary file and removes it on every ending
// of the program it can see.

#include "platform/output_file.h"

#include <chrono>
#include <utility>

#include "platform/utf8.h"

namespace velmar::platform {
namespace {

using output::Handle;
using output::kNoHandle;
using output::Plan;

constexpr int kNameAttempts = 100;

// ".NAME.xxxxxx": six letters and digits that differ from run to run and from try to try (lower
// case: Windows does not tell the cases apart). NAME keeps at most 200 bytes of the book's name,
// cut between UTF-8 characters, so that it fits where the name did: 255 bytes on POSIX, 255
// UTF-16 units (never more than UTF-8 bytes) on Windows.
std::string temporaryName(const std::string& name, unsigned attempt) {
  std::size_t kept = name.size() < 200 ? name.size() : 200;
  while (kept > 0 && kept < name.size() &&
         isUtf8Continuation(static_cast<unsigned char>(name[kept]))) {
    --kept;
  }
  static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::uint64_t seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (output::processNumber() << 20) ^ (attempt * 0x9E3779B97F4A7C15ull);
  std::string result = "." + name.substr(0, kept) + ".";
  for (int index = 0; index < 6; ++index) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    result += kDigits[(seed >> 33) % (sizeof kDigits - 1)];
  }
  return result;
}

}  // namespace

OutputFile::~OutputFile() { abandon(); }

bool OutputFile::prepare(const char* path) {
  abandon();
  failed_ = false;
  keptCopy_.clear();
  target_ = output::Target();
  if (!output::inspectTarget(path, target_)) {
    releaseTarget();  // the identity of what was found stays known
    return false;
  }
  state_ = State::Prepared;
  return true;
}

bool OutputFile::writesInto(const FileIdentity& file) const {
  return target_.identityKnown && target_.identity == file;
}

bool OutputFile::open() {
  if (state_ != State::Prepared) return false;
  written_ = 0;
  writeBackStarted_ = 0;
  bool started = true;
  if (target_.plan == Plan::Stream) {
    std::swap(handle_, target_.file);  // nothing was open for writing yet
  } else {
    started = target_.plan == Plan::InPlace ? startInPlace() : startTemporary();
  }
  if (!started) {
    abandon();
    return false;
  }
  state_ = State::Writing;
  return true;
}

bool OutputFile::startInPlace() {
  if (!target_.replacing) target_.file = output::createInPlace(target_);
  if (target_.file == kNoHandle || !output::lockForRewrite(target_.file)) return false;
  // A book that cannot be copied aside is not rewritten.
  if (target_.replacing) {
    const Handle copy = output::makeScratchFile(copyPath_);
    if (copy == kNoHandle) return false;
    if (!output::copyWhole(target_.file, copy)) {
      output::removeScratchFile(copy, copyPath_);
      return false;
    }
    copy_ = copy;
  }
  // The book's own handle stays for putting the old bytes back.
  output::holdEndings();
  endingsHeld_ = true;
  handle_ = output::duplicate(target_.file);
  return handle_ != kNoHandle && output::emptyFile(handle_);
}

bool OutputFile::startTemporary() {
  std::string candidate;
  Handle made = kNoHandle;
  output::Created created = output::Created::NameTaken;
  for (int attempt = 0; attempt < kNameAttempts && created == output::Created::NameTaken;
       ++attempt) {
    candidate = temporaryName(target_.name, static_cast<unsigned>(attempt));
    created = output::createTemporary(target_, candidate, made);
  }
  if (created == output::Created::Yes) {
    if (!target_.replacing || output::carryOver(target_, made)) {
      handle_ = made;
      temporaryName_ = candidate;
      // The old book was opened only to be looked at.
      output::release(target_.file);
      target_.file = kNoHandle;
      return true;
    }
    output::removeTemporary(target_, candidate, made);
  } else if (created != output::Created::FolderRefuses) {
    return false;
  }
  return target_.replacing && startInPlace();
}

bool OutputFile::write(const char* bytes, std::size_t count) {
  if (state_ != State::Writing) failed_ = true;  // nothing to write to
  if (failed_) return false;
  if (!output::writeAll(handle_, bytes, count)) {
    failed_ = true;
    return false;
  }
  written_ += count;
  // A book that will be synced is sent to the disk every few megabytes, so that the sync at the
  // end has only the tail left.
  constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} * 1024 * 1024;
  if (target_.plan != Plan::Stream && written_ - writeBackStarted_ >= kWriteBackStep) {
    output::startWriteBack(handle_, writeBackStarted_, written_ - writeBackStarted_);
    writeBackStarted_ = written_;
  }
  return true;
}

bool OutputFile::commit() {
  if (state_ != State::Writing || failed_) {
    abandon();
    return false;
  }
  // A stream is not synced: a pipe or a terminal cannot be, and a device need not be.
  bool done = target_.plan == Plan::Stream || output::syncFile(handle_);
  if (temporaryName_.empty()) {
    done = output::closeFile(handle_) && done;
    handle_ = kNoHandle;
  } else if (done && output::putTemporaryInPlace(target_, temporaryName_, handle_)) {
    temporaryName_.clear();
  } else {
    done = false;
  }
  if (done && copy_ != kNoHandle) {
    output::removeScratchFile(copy_, copyPath_);
    copy_ = kNoHandle;
  }
  abandon();  // puts back or removes what a failure left; releases the rest either way
  failed_ = !done;
  return done;
}

void OutputFile::abandon() {
  failed_ = true;
  if (!temporaryName_.empty()) {
    output::removeTemporary(target_, temporaryName_, handle_);
    temporaryName_.clear();
  }
  if (handle_ != kNoHandle) {
    // The book is being given up; how its closing went no longer matters.
    output::release(handle_);
    handle_ = kNoHandle;
  }
  if (copy_ != kNoHandle) putOldBookBack();
  if (endingsHeld_) output::releaseEndings();
  endingsHeld_ = false;
  releaseTarget();
  state_ = State::Closed;
}

void OutputFile::putOldBookBack() {
  if (target_.file != kNoHandle && output::copyWhole(copy_, target_.file) &&
      output::syncFile(target_.file)) {
    output::removeScratchFile(copy_, copyPath_);
  } else {
    output::release(copy_);
    keptCopy_ = copyPath_;
  }
  copy_ = kNoHandle;
}

void OutputFile::releaseTarget() {
  output::release(target_.file);
  output::release(target_.folderHandle);
  target_.file = kNoHandle;
  target_.folderHandle = kNoHandle;
}

}  // namespace velmar::platform
