#include <cstring>

#include "platform/heap.h"
#include "reader/dvd_list.h"

namespace velmar {

std::uint32_t TextAccumulator::grownCapacity(std::uint32_t capacity, std::uint32_t length,
                                             std::size_t count) {
  // Each step is checked against the limit before it is taken, so nothing here can wrap, in a
  // 32-bit size_t or in 32-bit counts. The text and its NUL need length + count + 1 bytes.
  if (length >= kMaxCapacity || count >= kMaxCapacity - length) return 0;
  const std::uint32_t needed = length + static_cast<std::uint32_t>(count) + 1;
  // Whole steps, always strictly more than needed: needed 1025 gives 4096, 4096 gives 8192.
  const std::uint32_t steps = needed / kGrowStep + 1;
  if (steps > kMaxCapacity / kGrowStep) return 0;
  const std::uint32_t fitting = steps * kGrowStep;
  const std::uint32_t doubled = capacity <= kMaxCapacity / 2 ? 2 * capacity : kMaxCapacity;
  return fitting > doubled ? fitting : doubled;
}

bool TextAccumulator::append(const char* bytes, std::size_t count) {
  if (count >= capacity_ - length_) {
    const std::uint32_t newCapacity = grownCapacity(capacity_, length_, count);
    if (newCapacity == 0) return false;
    char* grown = nullptr;
    if (heapOwned_) {
      grown = static_cast<char*>(platform::heapResizeZeroed(data_, capacity_, newCapacity));
    } else {
      grown = static_cast<char*>(platform::heapAllocateZeroed(newCapacity));
      if (grown != nullptr) std::memcpy(grown, data_, length_);
    }
    if (grown == nullptr) return false;  // the old storage is still ours, text intact
    data_ = grown;
    heapOwned_ = true;
    capacity_ = newCapacity;
  }
  // Here count < capacity_ - length_ <= kMaxCapacity: the sum below fits.
  if (count > 0) std::memcpy(data_ + length_, bytes, count);
  length_ += static_cast<std::uint32_t>(count);
  data_[length_] = '\0';
  return true;
}

void TextAccumulator::truncate(std::uint32_t newLength) {
  if (newLength < length_) length_ = newLength;
  data_[length_] = '\0';
}

void TextAccumulator::trim() {
  constexpr std::uint32_t kWorthTrimming = 1024 * 1024;
  if (!heapOwned_) return;
  // length_ < capacity_ <= kMaxCapacity, so the step count and its product stay in range.
  const std::uint32_t fitting = kGrowStep * ((length_ + 1) / kGrowStep + 1);
  if (fitting >= capacity_ || capacity_ - fitting < kWorthTrimming) return;
  data_ = static_cast<char*>(platform::heapShrink(data_, fitting));
  capacity_ = fitting;
}

void TextAccumulator::release() {
  if (heapOwned_) platform::heapFree(data_);
  data_ = inlineStorage_;
  heapOwned_ = false;
  capacity_ = kInlineCapacity;
  length_ = 0;
  inlineStorage_[0] = '\0';
}

ByteString& DvdRecord::field(FieldKind kind) {
  switch (kind) {
    case FieldKind::NameR: return nameR;
    case FieldKind::NameO: return nameO;
    case FieldKind::Sign: return sign;
    case FieldKind::Obz: break;
  }
  return obz;
}

const ByteString& DvdRecord::field(FieldKind kind) const {
  return const_cast<DvdRecord*>(this)->field(kind);
}

}  // namespace velmar
