#pragma once
// The in-memory DVD database: the records the reader fills and the writer walks.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/pages_ahead.h"

namespace velmar {

// A field's text in windows-1251, held by the list's field store. A field committed to again
// grows in place up to `room`, then moves to at least twice its room.
struct FieldText {
  char* bytes = nullptr;
  std::uint32_t count = 0;
  std::uint32_t room = 0;

  const char* data() const { return bytes != nullptr ? bytes : ""; }
  std::size_t size() const { return count; }
  bool empty() const { return count == 0; }
};

// One disc of the database; all zero bytes are an empty record.
struct DvdRecord {
  FieldText nameR;  // Russian title
  FieldText nameO;  // original title
  FieldText sign;   // shelf mark: the link text and the note's title
  FieldText obz;    // review: the note's text
};

// One of the four fields of every record.
using FieldOfRecord = FieldText DvdRecord::*;

// Gathers character data, in storage inside itself until a text no longer fits, then on the
// heap in whole 4096-byte steps that at least double at each growth: linear time even on a heap
// whose resize always copies. The text is always followed by a NUL.
class TextAccumulator {
 public:
  static constexpr std::uint32_t kInlineCapacity = 1024;
  static constexpr std::uint32_t kGrowStep = 4096;
  // The largest capacity: the last whole step that a 32-bit count (and a 32-bit size_t) holds.
  static constexpr std::uint32_t kMaxCapacity = 0xFFFFFFFFu / kGrowStep * kGrowStep;

  TextAccumulator() { useInlineStorage(); }
  ~TextAccumulator() { release(); }
  // data points into the object itself, so it is neither copied nor moved.
  TextAccumulator(const TextAccumulator&) = delete;
  TextAccumulator& operator=(const TextAccumulator&) = delete;

  // False when memory runs out (or the text would pass kMaxCapacity); the text is then as it was.
  [[nodiscard]] bool append(const char* bytes, std::size_t count) {
    char* const at = extend(count);
    if (at == nullptr) return false;
    if (count > 0) std::memcpy(at, bytes, count);
    return true;
  }

  // Lengthens the text by `count` unset bytes for the caller to write (then perhaps truncate()):
  // where they start, or null as append() fails.
  [[nodiscard]] char* extend(std::size_t count) {
    if (count >= capacity_ - length_ && !grow(count)) return nullptr;
    // Here count < capacity_ - length_ <= kMaxCapacity: the sum below fits.
    char* const at = data_ + length_;
    length_ += static_cast<std::uint32_t>(count);
    pages_.reach(data_ + length_ + 1);  // the text and its NUL
    data_[length_] = '\0';
    return at;
  }

  // Cuts the text to its first `newLength` bytes (no more than it holds).
  void truncate(std::uint32_t newLength) {
    if (newLength < length_) length_ = newLength;
    data_[length_] = '\0';
  }

  // Keeps the storage and its capacity.
  void clear() { truncate(0); }

  // Frees a heap block and returns to the inline storage, empty.
  void release();

  // Hands the heap block (a large one, platform/heap.h) and its `size` to the caller, shrunk to
  // the steps that hold the text and its NUL, and returns to the inline storage, empty. The text
  // must be on the heap.
  char* detachBlock(std::size_t& size);

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::uint32_t length() const { return length_; }
  std::uint32_t capacity() const { return capacity_; }
  bool heapOwned() const { return heapOwned_; }

 private:
  bool grow(std::size_t count);
  // A heap block is the caller's to free or keep.
  void useInlineStorage();

  char* data_ = inlineStorage_;
  std::uint32_t length_ = 0;  // bytes held, not counting the NUL
  std::uint32_t capacity_ = kInlineCapacity;
  bool heapOwned_ = false;
  platform::PagesAhead pages_;  // of the heap block
  char inlineStorage_[kInlineCapacity];
};

// The bytes of every field of a list, carved from a few large blocks; a text too large to share
// one gets its own. Nothing is freed before the whole store is.
class FieldStore {
 public:
  static constexpr std::size_t kBlockSize = std::size_t{2} * 1024 * 1024;
  // From this size on a text gets a block of its own (so no block wastes more than a quarter).
  static constexpr std::size_t kOwnBlockSize = kBlockSize / 4;

  FieldStore() = default;
  ~FieldStore();
  FieldStore(const FieldStore&) = delete;
  FieldStore& operator=(const FieldStore&) = delete;

  // Room for `count` bytes, kept until the store goes; null when memory runs out.
  char* allocate(std::size_t count);

  // Makes room to adopt one more block; false when memory runs out.
  bool reserveBlock();
  // Takes over a large heap block of `size` bytes, after a reserveBlock() since the last adopt()
  // or allocate().
  void adopt(char* block, std::size_t size);

 private:
  struct Block {
    char* bytes;
    std::size_t size;
  };
  Block* blocks_ = nullptr;
  std::size_t blockCount_ = 0;
  std::size_t blockCapacity_ = 0;
  char* next_ = nullptr;  // the free part of the current shared block
  char* end_ = nullptr;
  platform::PagesAhead pages_;  // of the current shared block
};

// The records of a list, in blocks of the field store's size that never move.
class DvdRecords {
 public:
  static constexpr std::size_t kPerBlock = FieldStore::kBlockSize / sizeof(DvdRecord);

  DvdRecords() = default;
  ~DvdRecords();
  DvdRecords(const DvdRecords&) = delete;
  DvdRecords& operator=(const DvdRecords&) = delete;

  // A new empty record at the end; null when memory runs out.
  DvdRecord* add();

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  DvdRecord& operator[](std::size_t index) { return blocks_[index / kPerBlock][index % kPerBlock]; }
  const DvdRecord& operator[](std::size_t index) const {
    return blocks_[index / kPerBlock][index % kPerBlock];
  }
  DvdRecord& back() { return (*this)[size_ - 1]; }

 private:
  DvdRecord** blocks_ = nullptr;
  std::size_t blockCount_ = 0;
  std::size_t blockCapacity_ = 0;
  std::size_t size_ = 0;
  platform::PagesAhead pages_;  // of the last block
};

struct DvdList {
  DvdRecords records;
  FieldStore fieldBytes;
  TextAccumulator text;
  FieldOfRecord currentField = &DvdRecord::nameR;

  // Appends to `field`, one of this list's. False when memory runs out (or the field would pass
  // 4 GiB); the field is then as it was.
  bool appendToField(FieldText& field, const char* bytes, std::size_t count);

  // Appends the gathered text to `field`, handing an empty field a large text's block uncopied,
  // and empties the accumulator all the same. False, the field as it was, when memory runs out.
  bool commitText(FieldText& field);
};

}  // namespace velmar
