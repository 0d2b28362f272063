#include "reader/database_reader.h"

#include <cstdint>
#include <cstring>

#include "reader/cp1251_table.h"

namespace velmar {
namespace {

// The file bytes behind the parser's current text event when they are exactly that text in
// windows-1251 (plain character data). Null for a reference (the event points at the reference,
// not its text), a line break the parser normalised, and whenever the parser cannot say.
//
// A long run comes in pieces, and in a CDATA section a piece's event spans the rest of the run:
// the piece is all of the event's bytes only when it has as many characters as they are bytes.
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

}  // namespace

bool appendParsedText(XML_Parser parser, TextAccumulator& accumulator, const XML_Char* text,
                      std::size_t count, bool whole) {
  // One ASCII character (a line break, &amp;, &lt;) is the same byte in both encodings.
  if (count == 1 && static_cast<unsigned char>(text[0]) < 0x80) return accumulator.append(text, 1);
  const std::uint32_t start = accumulator.length();
  std::size_t fileCount = 0;
  // A piece of under 16 bytes down-converts as cheaply as the parser can be asked where it came
  // from and the answer checked.
  const char* fileBytes =
      whole && count >= 16 ? fileBytesOfText(parser, text, count, fileCount) : nullptr;
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
  // The conversion never lengthens a text, so it fits the room taken.
  char* const room = accumulator.extend(count);
  if (room == nullptr) return false;
  accumulator.truncate(start + static_cast<std::uint32_t>(toCp1251(text, count, room)));
  return true;
}

}  // namespace velmar
