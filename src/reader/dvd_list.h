#pragma once
// The in-memory DVD database: the records the reader fills and the writer walks, the field that
// incoming text belongs to, and the buffer that gathers character data until it is committed.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "platform/heap_allocator.h"

struct XML_ParserStruct;  // the parser feeding a list, as far as a handler needs to stop it

namespace velmar {

// A counted byte string: windows-1251 once committed.
using ByteString = std::basic_string<char, std::char_traits<char>, platform::HeapAllocator<char>>;

// Which field gathered text goes to. The value is the field's index in DvdRecord.
enum class FieldKind : std::int32_t { NameR = 0, NameO = 1, Sign = 2, Obz = 3 };

// One disc of the database.
struct DvdRecord {
  ByteString nameR;  // Russian title
  ByteString nameO;  // original title
  ByteString sign;   // shelf mark: the link text and the note's title
  ByteString obz;    // review: the note's text

  ByteString& field(FieldKind kind);
  const ByteString& field(FieldKind kind) const;

  friend bool operator==(const DvdRecord& a, const DvdRecord& b) {
    return a.nameR == b.nameR && a.nameO == b.nameO && a.sign == b.sign && a.obz == b.obz;
  }
};

// A growable byte buffer that starts on storage inside itself and moves to the heap once a text
// no longer fits. Heap capacities are whole 4096-byte steps and at least double at each growth,
// so a text of any length is gathered in linear time even on a heap whose resize always copies.
// The text held is always followed by a NUL; only the methods below write the length and it.
class TextAccumulator {
 public:
  static constexpr std::uint32_t kInlineCapacity = 1024;
  static constexpr std::uint32_t kGrowStep = 4096;
  // The largest capacity: the last whole step that a 32-bit count (and a 32-bit size_t) holds.
  static constexpr std::uint32_t kMaxCapacity = 0xFFFFFFFFu / kGrowStep * kGrowStep;

  TextAccumulator() { inlineStorage_[0] = '\0'; }
  ~TextAccumulator() { release(); }
  // data points into the object itself, so it is neither copied nor moved.
  TextAccumulator(const TextAccumulator&) = delete;
  TextAccumulator& operator=(const TextAccumulator&) = delete;

  // The capacity a text of `length` bytes held in `capacity` grows to when `count` more bytes
  // come: whole steps, strictly more than the text and its NUL need, and at least twice the old
  // capacity. 0 when the text would not fit in kMaxCapacity. Safe with a 32-bit size_t.
  static std::uint32_t grownCapacity(std::uint32_t capacity, std::uint32_t length,
                                     std::size_t count);

  // Adds `count` bytes at the end. False when memory runs out (or the text would pass
  // kMaxCapacity); the text held so far is then left exactly as it was.
  [[nodiscard]] bool append(const char* bytes, std::size_t count);

  // Cuts the text to its first `newLength` bytes (no more than it holds) and puts the NUL after
  // them: for rewriting a text in place to something no longer.
  void truncate(std::uint32_t newLength);

  // Empties the text; the storage and its capacity stay.
  void clear() { truncate(0); }

  // Gives back the unused tail of a heap block once a large text has shrunk (down-conversion
  // halves a Cyrillic text), keeping whole steps, so a huge field is not held twice over.
  void trim();

  // Frees a heap block and returns to the inline storage, empty.
  void release();

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::uint32_t length() const { return length_; }
  std::uint32_t capacity() const { return capacity_; }
  bool heapOwned() const { return heapOwned_; }
  bool usesInlineStorage() const { return data_ == inlineStorage_; }

 private:
  char* data_ = inlineStorage_;
  std::uint32_t length_ = 0;  // bytes held, not counting the NUL
  std::uint32_t capacity_ = kInlineCapacity;
  bool heapOwned_ = false;
  char inlineStorage_[kInlineCapacity];
};

// Records are appended at the end only; a deque never copies the records it already holds.
using DvdRecords = std::deque<DvdRecord, platform::HeapAllocator<DvdRecord>>;

struct DvdList {
  DvdRecords records;
  TextAccumulator text;
  FieldKind currentKind = FieldKind::NameR;

  // Set by a handler that ran out of memory: the list is incomplete and must not be written.
  bool outOfMemory = false;
  // The parser feeding this list while a read is under way; null otherwise. A handler that
  // runs out of memory stops it, and the text handler takes plain character data straight from
  // its input bytes, so gathered text is windows-1251 already while it is set.
  XML_ParserStruct* activeParser = nullptr;
};

}  // namespace velmar
