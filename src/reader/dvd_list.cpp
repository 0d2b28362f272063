#include <cstring>
#include <limits>

#include "platform/heap.h"
#include "reader/dvd_list.h"

namespace velmar {

bool TextAccumulator::append(const char* bytes, std::size_t count) {
  const std::size_t needed = std::size_t{length} + count + 1;
  if (capacity < needed) {
    // Whole steps, always strictly more than needed: needed 1025 gives 4096, 4096 gives 8192.
    const std::size_t newCapacity = std::size_t{growStep} * (needed / growStep + 1);
    if (newCapacity > std::numeric_limits<std::uint32_t>::max()) return false;
    char* grown = nullptr;
    if (heapOwned) {
      grown = static_cast<char*>(platform::heapResizeZeroed(data, capacity, newCapacity));
    } else {
      grown = static_cast<char*>(platform::heapAllocateZeroed(newCapacity));
      if (grown != nullptr) std::memcpy(grown, data, length);
    }
    if (grown == nullptr) return false;  // the old storage is still ours, text intact
    data = grown;
    heapOwned = true;
    capacity = static_cast<std::uint32_t>(newCapacity);
  }
  if (count > 0) std::memcpy(data + length, bytes, count);
  length += static_cast<std::uint32_t>(count);
  data[length] = '\0';
  return true;
}

void TextAccumulator::clear() {
  length = 0;
  data[0] = '\0';
}

void TextAccumulator::trim() {
  constexpr std::uint32_t kWorthTrimming = 1024 * 1024;
  if (!heapOwned) return;
  const std::uint32_t fitting = growStep * ((length + 1) / growStep + 1);
  if (capacity - fitting < kWorthTrimming) return;
  data = static_cast<char*>(platform::heapShrink(data, fitting));
  capacity = fitting;
}

void TextAccumulator::release() {
  if (heapOwned && data != nullptr) platform::heapFree(data);
  data = inlineStorage;
  heapOwned = false;
  capacity = kInlineCapacity;
  length = 0;
  inlineStorage[0] = '\0';
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
