#include "writer/plain_runs.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/sse2.h"
#include "writer/plain_runs_portable.h"

namespace velmar {
namespace {

// The bytes that end a plain run, for the scans' byte-by-byte tails.
constexpr std::array<bool, 256> buildRunEnds() {
  std::array<bool, 256> ends{};
  for (const char byte : {'"', '&', '\'', '<', '>', '\n'}) {
    ends[static_cast<std::uint8_t>(byte)] = true;
  }
  return ends;
}
constexpr std::array<bool, 256> kEndsPlainRun = buildRunEnds();

std::size_t plainPrefixByBytes(const char* bytes, std::size_t count) {
  std::size_t at = 0;
  while (at < count && !kEndsPlainRun[static_cast<std::uint8_t>(bytes[at])]) ++at;
  return at;
}

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
#endif

}  // namespace

std::size_t plainPrefixLengthPortable(const char* bytes, std::size_t count) {
  // A word of bytes at a time: a byte equal to one looked for is a zero byte of the word xor'ed
  // with that byte repeated. The zero-byte test is exact (no carry runs from byte to byte), and
  // a word that holds one is searched again byte by byte, whatever the byte order.
  using Word = std::size_t;
  constexpr Word kOnes = ~Word{0} / 0xFF;
  constexpr Word kLow7 = kOnes * 0x7F;
  constexpr Word kSpecial[] = {kOnes * '"', kOnes * '&', kOnes * '\'', kOnes * '<', kOnes * '>',
                               kOnes * '\n'};
  std::size_t at = 0;
  for (; count - at >= sizeof(Word); at += sizeof(Word)) {
    Word word;
    std::memcpy(&word, bytes + at, sizeof word);
    Word zeroBytes = 0;
    for (const Word special : kSpecial) {
      const Word x = word ^ special;
      zeroBytes |= ~(((x & kLow7) + kLow7) | x | kLow7);
    }
    if (zeroBytes != 0) break;
  }
  return at + plainPrefixByBytes(bytes + at, count - at);
}

#if defined(VELMAR_HAVE_SSE2)
std::size_t plainPrefixLength(const char* bytes, std::size_t count) {
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i ampersand = _mm_set1_epi8('&');
  const __m128i apostrophe = _mm_set1_epi8('\'');
  const __m128i less = _mm_set1_epi8('<');
  const __m128i greater = _mm_set1_epi8('>');
  const __m128i lineFeed = _mm_set1_epi8('\n');
  std::size_t at = 0;
  for (; count - at >= 16; at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    const __m128i hits = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, quote), _mm_cmpeq_epi8(chunk, ampersand)),
                     _mm_or_si128(_mm_cmpeq_epi8(chunk, apostrophe), _mm_cmpeq_epi8(chunk, less))),
        _mm_or_si128(_mm_cmpeq_epi8(chunk, greater), _mm_cmpeq_epi8(chunk, lineFeed)));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (mask != 0) return at + lowestSetBit(mask);
  }
  return at + plainPrefixByBytes(bytes + at, count - at);
}
#else
std::size_t plainPrefixLength(const char* bytes, std::size_t count) {
  return plainPrefixLengthPortable(bytes, count);
}
#endif

}  // namespace velmar
