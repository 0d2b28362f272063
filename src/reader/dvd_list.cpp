#include <cstring>

#include "platform/heap.h"
#include "reader/dvd_list.h"

namespace velmar {
namespace {

// The storage's one growth rule: room for `needed` that at least doubles, so what grows a piece
// at a time is copied a logarithmic number of times; at most `limit`, and 0 when `needed` is more.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the room there is, then the room needed
std::uint64_t grownRoom(std::uint64_t current, std::uint64_t needed, std::uint64_t limit) {
  if (needed > limit) return 0;
  const std::uint64_t doubled = current <= limit / 2 ? 2 * current : limit;
  return needed > doubled ? needed : doubled;
}

// The accumulator's heap capacities: whole steps, strictly more than `bytes` (a text and its
// NUL): 1025 bytes take 4096, 4096 take 8192.
std::uint64_t stepsAbove(std::uint64_t bytes) {
  return (bytes / TextAccumulator::kGrowStep + 1) * TextAccumulator::kGrowStep;
}

// Grows a table so one more entry fits; false, the table as it was, when memory runs out.
template <typename Entry>
bool growTable(Entry*& table, std::size_t& capacity) {
  // NOLINTNEXTLINE(bugprone-sizeof-expression): Entry is a block pointer, rightly a pointer's size
  const std::uint64_t limit = static_cast<std::size_t>(-1) / sizeof(Entry);
  const auto newCapacity = static_cast<std::size_t>(grownRoom(capacity, capacity + 1, limit));
  if (newCapacity == 0) return false;
  // NOLINTNEXTLINE(bugprone-sizeof-expression)
  void* grown = platform::heapResize(table, newCapacity * sizeof(Entry));
  if (grown == nullptr) return false;
  table = static_cast<Entry*>(grown);
  capacity = newCapacity;
  return true;
}

}  // namespace

bool TextAccumulator::grow(std::size_t count) {
  // Checked before it is added to, so no sum wraps (length_ < capacity_ <= kMaxCapacity).
  if (count >= kMaxCapacity - length_) return false;
  const std::uint64_t needed = stepsAbove(std::uint64_t{length_} + count + 1);
  const auto newCapacity = static_cast<std::uint32_t>(grownRoom(capacity_, needed, kMaxCapacity));
  if (newCapacity == 0) return false;
  char* grown = nullptr;
  std::size_t present = 0;  // of a new block: only the text copied over touched it
  if (heapOwned_) {
    present = pages_.presentFrom(data_);
    grown = static_cast<char*>(platform::heapResizeLarge(data_, capacity_, newCapacity));
  } else {
    grown = static_cast<char*>(platform::heapAllocateLarge(newCapacity));
    if (grown != nullptr) std::memcpy(grown, data_, length_);
  }
  if (grown == nullptr) return false;  // the old storage is still ours, text intact
  pages_.follow(grown, newCapacity, present);
  data_ = grown;
  heapOwned_ = true;
  capacity_ = newCapacity;
  return true;
}

void TextAccumulator::useInlineStorage() {
  data_ = inlineStorage_;
  heapOwned_ = false;
  capacity_ = kInlineCapacity;
  pages_.follow(inlineStorage_, kInlineCapacity, kInlineCapacity);
  length_ = 0;
  inlineStorage_[0] = '\0';
}

void TextAccumulator::release() {
  if (heapOwned_) platform::heapFreeLarge(data_, capacity_);
  useInlineStorage();
}

char* TextAccumulator::detachBlock(std::size_t& size) {
  // Should the heap not give the rest back, the block stays as it was.
  const std::uint64_t fitting = stepsAbove(length_ + std::uint64_t{1});
  void* const shrunk =
      fitting < capacity_ ? platform::heapResizeLarge(data_, capacity_, fitting) : nullptr;
  char* const block = shrunk != nullptr ? static_cast<char*>(shrunk) : data_;
  size = shrunk != nullptr ? fitting : capacity_;
  useInlineStorage();
  return block;
}

FieldStore::~FieldStore() {
  for (std::size_t index = 0; index < blockCount_; ++index) {
    platform::heapFreeLarge(blocks_[index].bytes, blocks_[index].size);
  }
  platform::heapFree(blocks_);
}

bool FieldStore::reserveBlock() {
  return blockCount_ < blockCapacity_ || growTable(blocks_, blockCapacity_);
}

void FieldStore::adopt(char* block, std::size_t size) { blocks_[blockCount_++] = {block, size}; }

char* FieldStore::allocate(std::size_t count) {
  if (count <= static_cast<std::size_t>(end_ - next_)) {
    char* const at = next_;
    next_ += count;
    pages_.reach(next_);
    return at;
  }
  if (!reserveBlock()) return nullptr;
  if (count >= kOwnBlockSize) {
    auto* const block = static_cast<char*>(platform::heapAllocateLarge(count));
    if (block != nullptr) adopt(block, count);
    return block;
  }
  // The rest of the current block stays unused: under a quarter of it, nothing larger was asked.
  auto* const block = static_cast<char*>(platform::heapAllocateLarge(kBlockSize));
  if (block == nullptr) return nullptr;
  adopt(block, kBlockSize);
  next_ = block + count;
  end_ = block + kBlockSize;
  pages_.follow(block, kBlockSize, 0);
  pages_.reach(next_);
  return block;
}

DvdRecords::~DvdRecords() {
  for (std::size_t index = 0; index < blockCount_; ++index) {
    platform::heapFreeLarge(blocks_[index], kPerBlock * sizeof(DvdRecord));
  }
  platform::heapFree(blocks_);
}

DvdRecord* DvdRecords::add() {
  if (size_ == blockCount_ * kPerBlock) {
    if (blockCount_ == blockCapacity_ && !growTable(blocks_, blockCapacity_)) return nullptr;
    void* const block = platform::heapAllocateLarge(kPerBlock * sizeof(DvdRecord));
    if (block == nullptr) return nullptr;
    blocks_[blockCount_++] = static_cast<DvdRecord*>(block);
    pages_.follow(static_cast<char*>(block), kPerBlock * sizeof(DvdRecord), 0);
  }
  DvdRecord* const record = &(*this)[size_++];
  pages_.reach(reinterpret_cast<char*>(record + 1));
  return record;
}

bool DvdList::appendToField(FieldText& field, const char* bytes, std::size_t count) {
  if (count == 0) return true;
  if (count <= field.room - field.count) {
    std::memcpy(field.bytes + field.count, bytes, count);
    field.count += static_cast<std::uint32_t>(count);
    return true;
  }
  // A field holds less than 4 GiB, as the accumulator does; the sums below cannot wrap.
  constexpr std::uint32_t kMaxField = TextAccumulator::kMaxCapacity;
  if (count >= kMaxField - field.count) return false;
  const std::uint32_t newCount = field.count + static_cast<std::uint32_t>(count);
  // The first text takes just its room (none, doubled, is none); a field that grows again moves.
  const auto room = static_cast<std::uint32_t>(grownRoom(field.room, newCount, kMaxField));
  char* const at = fieldBytes.allocate(room);
  if (at == nullptr) return false;
  if (field.count > 0) std::memcpy(at, field.bytes, field.count);
  std::memcpy(at + field.count, bytes, count);
  field = FieldText{at, newCount, room};
  return true;
}

bool DvdList::commitText(FieldText& field) {
  bool committed = false;
  if (field.empty() && text.heapOwned() && text.length() >= FieldStore::kOwnBlockSize) {
    if (fieldBytes.reserveBlock()) {
      const std::uint32_t count = text.length();
      std::size_t size = 0;
      char* const block = text.detachBlock(size);
      fieldBytes.adopt(block, size);
      field = FieldText{block, count, count};  // the NUL stays in the block, past the room
      return true;
    }
  } else {
    committed = appendToField(field, text.data(), text.length());
  }
  // A block large enough to be detached is not kept for the next text either.
  if (text.capacity() > FieldStore::kOwnBlockSize) {
    text.release();
  } else {
    text.clear();
  }
  return committed;
}

}  // namespace velmar
