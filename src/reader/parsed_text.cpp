#include "reader/parsed_text.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VELMAR_HAVE_SSE2 1
#endif

#include "reader/cp1251_down_conversion.h"

namespace velmar {
namespace {

// The bytes of the database file behind the parser's current text event, when they are exactly
// that text in windows-1251: a run of plain character data (one byte a character). Null for a
// reference (&amp;, &#1046;, an entity of the document's own, whose text the event points at the
// reference for), for a line break the parser normalised (CR LF or CR to LF), and whenever the
// parser cannot say.
//
// The parser hands over a long run of text in pieces; in a CDATA section the event of a piece
// spans the rest of the run, not just the piece. The piece is the parser's UTF-8 for a prefix of
// the event's bytes, each byte of the file one character, so it is all of them exactly when it
// holds as many characters as the event has bytes.
const char* fileBytesOfText(XML_Parser parser, const char* utf8, std::size_t utf8Length,
                            std::size_t& count) {
  const int byteCount = XML_GetCurrentByteCount(parser);
  int offset = 0;
  int size = 0;
  const char* buffer = XML_GetInputContext(parser, &offset, &size);
  if (byteCount <= 0 || buffer == nullptr || offset < 0 || byteCount > size - offset) {
    return nullptr;
  }
  const char* bytes = buffer + offset;
  if (bytes[0] == '&' || bytes[0] == '\r') return nullptr;
  const auto fileLength = static_cast<std::size_t>(byteCount);
  if (utf8Length < fileLength || utf8Length > 3 * fileLength) return nullptr;
  if (utf8CharacterCount(utf8, utf8Length) != fileLength) return nullptr;
  count = fileLength;
  return bytes;
}

// The continuation bytes among `count` bytes of UTF-8, a word of bytes at a time: such a byte has
// its top bit set and the next bit clear. The flags are one bit a byte, summed by a
// multiplication into the top byte; a word has at most 8 of them, so no byte of the sum
// overflows.
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
    continuations += (static_cast<std::uint8_t>(text[at]) & 0xC0) == 0x80 ? 1 : 0;
  }
  return continuations;
}

}  // namespace

namespace detail {

std::size_t utf8CharacterCountPortable(const char* text, std::size_t count) {
  return count - continuationsByWords(text, count);
}

#if defined(VELMAR_HAVE_SSE2)
std::size_t utf8CharacterCountVector(const char* text, std::size_t count) {
  // 16 bytes at a time: a continuation byte (0x80 to 0xBF) is, as a signed byte, below -64.
  // Each one subtracts -1 from its lane's counter; the counters are summed every 255 rounds,
  // before a lane can overflow.
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
}
#else
std::size_t utf8CharacterCountVector(const char* text, std::size_t count) {
  return utf8CharacterCountPortable(text, count);
}
#endif

}  // namespace detail

std::size_t utf8CharacterCount(const char* text, std::size_t count) {
  return detail::utf8CharacterCountVector(text, count);
}

bool appendParsedText(DvdList& list, const XML_Char* text, std::size_t count, bool whole) {
  TextAccumulator& accumulator = list.text;
  // One ASCII character (a line break, &amp;, &lt;) is the same byte in both encodings.
  if (count == 1 && static_cast<unsigned char>(text[0]) < 0x80) return accumulator.append(text, 1);
  const std::uint32_t start = accumulator.length();
  std::size_t fileCount = 0;
  // A piece of under 16 bytes (one character from a reference such as &#1046;, or the few
  // letters between two references) down-converts as cheaply as the parser can be asked where
  // it came from and the answer checked.
  const char* fileBytes =
      whole && count >= 16 ? fileBytesOfText(list.activeParser, text, count, fileCount) : nullptr;
  if (fileBytes != nullptr) {
    if (!accumulator.append(fileBytes, fileCount)) return false;
    char* const end = accumulator.data() + accumulator.length();
    for (char* at = accumulator.data() + start;; ++at) {
      // memchr compares as unsigned char: give it the byte's value, not a negative char.
      at = static_cast<char*>(std::memchr(at, 0x98, static_cast<std::size_t>(end - at)));
      if (at == nullptr) break;
      // The parser reads 0x98 as U+0098, which the down-conversion turns into the stand-in too.
      *at = kNoCp1251Byte;
    }
    return true;
  }
  // Down-converted straight into the accumulator; the conversion never lengthens a text, so
  // the sum is at most the length the room took it to.
  char* const room = accumulator.extend(count);
  if (room == nullptr) return false;
  accumulator.truncate(start + static_cast<std::uint32_t>(toCp1251(text, count, room)));
  return true;
}

}  // namespace velmar
