#include "writer/plain_runs.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/sse2.h"

namespace velmar {
namespace {

std::size_t plainPrefixByBytes(const char* bytes, std::size_t count) {
  std::size_t at = 0;
  while (at < count && kEscapeOf[static_cast<std::uint8_t>(bytes[at])] == 0) ++at;
  return at;
}

// Each escaped byte repeated across a word, for the search a word at a time.
using Word = std::size_t;
constexpr Word kOnes = ~Word{0} / 0xFF;

constexpr std::array<Word, kEscapedByteCount> kRepeatedEscapes = [] {
  std::array<Word, kEscapedByteCount> words{};
  for (std::size_t place = 0; place < kEscapedByteCount; ++place) {
    words[place] = kOnes * static_cast<std::uint8_t>(kEscapedBytes[place].byte);
  }
  return words;
}();

#if defined(VELMAR_HAVE_SSE2)
unsigned lowestSetBit(unsigned mask) {
#if defined(_MSC_VER) && !defined(__clang__)
  unsigned long index = 0;
  _BitScanForward(&index, mask);
  return static_cast<unsigned>(index);
#else
  return static_cast<unsigned>(__builtin_ctz(mask));
#endif
}

__m128i repeated(std::size_t place) { return _mm_set1_epi8(kEscapedBytes[place].byte); }
#endif

}  // namespace

std::size_t plainPrefixLengthPortable(const char* bytes, std::size_t count) {
  // A byte looked for is a zero byte of the word xor'ed with it repeated. The test is exact (no
  // carry crosses bytes), and a word that holds one is searched again byte by byte, in any order.
  constexpr Word kLow7 = kOnes * 0x7F;
  std::size_t at = 0;
  for (; count - at >= sizeof(Word); at += sizeof(Word)) {
    Word word;
    std::memcpy(&word, bytes + at, sizeof word);
    Word zeroBytes = 0;
    for (const Word escape : kRepeatedEscapes) {
      const Word x = word ^ escape;
      zeroBytes |= ~(((x & kLow7) + kLow7) | x | kLow7);
    }
    if (zeroBytes != 0) break;
  }
  return at + plainPrefixByBytes(bytes + at, count - at);
}

std::size_t plainPrefixLength(const char* bytes, std::size_t count) {
#if defined(VELMAR_HAVE_SSE2)
  static_assert(kEscapedByteCount == 6, "each block is compared with the six escaped bytes");
  const __m128i escape0 = repeated(0);
  const __m128i escape1 = repeated(1);
  const __m128i escape2 = repeated(2);
  const __m128i escape3 = repeated(3);
  const __m128i escape4 = repeated(4);
  const __m128i escape5 = repeated(5);
  std::size_t at = 0;
  for (; count - at >= 16; at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    const __m128i hits = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, escape0), _mm_cmpeq_epi8(chunk, escape1)),
                     _mm_or_si128(_mm_cmpeq_epi8(chunk, escape2), _mm_cmpeq_epi8(chunk, escape3))),
        _mm_or_si128(_mm_cmpeq_epi8(chunk, escape4), _mm_cmpeq_epi8(chunk, escape5)));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (mask != 0) return at + lowestSetBit(mask);
  }
  return at + plainPrefixByBytes(bytes + at, count - at);
#else
  return plainPrefixLengthPortable(bytes, count);
#endif
}

}  // namespace velmar
