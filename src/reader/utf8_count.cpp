#include "reader/database_reader.h"

#include <cstdint>
#include <cstring>

#include "platform/sse2.h"
#include "platform/utf8.h"

namespace velmar {
namespace {

// The continuation bytes (top bit set, next clear) among `count` bytes, a word at a time: one
// flag bit a byte, summed by a multiplication into the top byte, which 8 flags cannot overflow.
std::size_t continuationsByWords(const char* text, std::size_t count) {
  using Word = std::uint64_t;
  constexpr Word kOnes = 0x0101010101010101u;
  std::size_t continuations = 0;
  std::size_t at = 0;
  for (; count - at >= sizeof(Word); at += sizeof(Word)) {
    Word word;
    std::memcpy(&word, text + at, sizeof word);
    const Word flags = (word & ~(word << 1) & (kOnes * 0x80)) >> 7;
    continuations += static_cast<std::size_t>((flags * kOnes) >> 56);
  }
  for (; at < count; ++at) {
    continuations += platform::isUtf8Continuation(static_cast<unsigned char>(text[at])) ? 1 : 0;
  }
  return continuations;
}

}  // namespace

std::size_t utf8CharacterCountPortable(const char* text, std::size_t count) {
  return count - continuationsByWords(text, count);
}

std::size_t utf8CharacterCount(const char* text, std::size_t count) {
#if defined(VELMAR_HAVE_SSE2)
  // A continuation byte (0x80 to 0xBF) is below -64 as a signed byte and subtracts -1 from its
  // lane's counter; the counters are summed every 255 rounds, before a lane can overflow.
  const __m128i belowLead = _mm_set1_epi8(-64);
  std::size_t continuations = 0;
  std::size_t at = 0;
  while (count - at >= 16) {
    __m128i lanes = _mm_setzero_si128();
    for (int round = 0; round < 255 && count - at >= 16; ++round, at += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
      lanes = _mm_sub_epi8(lanes, _mm_cmplt_epi8(chunk, belowLead));
    }
    const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    continuations += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                     static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
  return count - continuations - continuationsByWords(text + at, count - at);
#else
  return utf8CharacterCountPortable(text, count);
#endif
}

}  // namespace velmar
