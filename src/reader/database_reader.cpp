#include "reader/database_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/heap.h"
#include "platform/messages.h"
#include "reader/cp1251_table.h"

namespace velmar {
namespace {

// The file bytes behind the parser's current text event when they are exactly that text in
// windows-1251 (plain character data); null for a reference (the event points at the reference,
// not its text), a line break the parser normalised, and whenever the parser cannot say. A long
// run comes in pieces, and in a CDATA section a piece's event spans the rest of the run: the
// piece is all of the event's bytes only when it has as many characters as they are bytes.
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

// Whether the element `name` is `expected`. It stops at the first byte that differs (so never
// past the NUL of `name`); with the length known it is a few compares, not a call per name.
template <std::size_t N>
bool nameIs(const XML_Char* name, const char (&expected)[N]) {
  for (std::size_t at = 0; at < N; ++at) {  // the NUL included
    if (name[at] != expected[at]) return false;
  }
  return true;
}

// The field an element name chooses; null for any other element.
FieldOfRecord fieldNamed(const XML_Char* name) {
  if (nameIs(name, "nameR")) return &DvdRecord::nameR;
  if (nameIs(name, "nameO")) return &DvdRecord::nameO;
  if (nameIs(name, "sign")) return &DvdRecord::sign;
  if (nameIs(name, "obz")) return &DvdRecord::obz;
  return nullptr;
}

void stopOutOfMemory(ListReading& reading) {
  reading.outOfMemory = true;
  XML_StopParser(reading.parser, XML_FALSE);
}

void XMLCALL onStartElement(void* userData, const XML_Char* name, const XML_Char** /*attributes*/) {
  ListReading& reading = *static_cast<ListReading*>(userData);
  if (reading.outOfMemory) return;
  DvdList& list = reading.list;
  if (nameIs(name, "VelmarList")) {
    if (list.records.add() == nullptr) stopOutOfMemory(reading);
    return;
  }
  if (const FieldOfRecord field = fieldNamed(name)) list.currentField = field;
}

void XMLCALL onEndElement(void* userData, const XML_Char* name) {
  ListReading& reading = *static_cast<ListReading*>(userData);
  if (reading.outOfMemory || fieldNamed(name) == nullptr) return;
  DvdList& list = reading.list;
  if (list.records.empty()) {
    list.text.clear();  // no record yet: the text is dropped
  } else if (!list.commitText(list.records.back().*list.currentField)) {
    stopOutOfMemory(reading);
  }
}

void XMLCALL onCharacterData(void* userData, const XML_Char* text, int length) {
  ListReading& reading = *static_cast<ListReading*>(userData);
  if (reading.outOfMemory || length <= 0) return;
  DvdList& list = reading.list;
  std::size_t count = static_cast<std::size_t>(length);
  if (list.text.length() == 0) {
    while (count > 0 && (*text == '\n' || *text == '\r')) {
      ++text;
      --count;
    }
    if (count == 0) return;
  }
  const bool whole = count == static_cast<std::size_t>(length);
  if (!appendParsedText(reading.parser, list.text, text, count, whole)) stopOutOfMemory(reading);
}

// The parser takes its memory from the program heap like the rest of the reader.
const XML_Memory_Handling_Suite kParserMemory = {platform::heapAllocate, platform::heapResize,
                                                 platform::heapFree};

bool reportOutOfMemory(const char* inputPath) {
  platform::printMessage("Out of memory reading input file [%s]\n", inputPath);
  return false;
}

bool reportParseError(XML_Parser parser, XML_Error error) {
  platform::printMessage("XMLError: %s at line %lu column %lu\n", XML_ErrorString(error),
                         static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)),
                         static_cast<unsigned long>(XML_GetCurrentColumnNumber(parser)));
  return false;
}

// The parser skips a reference that an external subset or parameter entity it does not read may
// define; rather than lose that text in silence, the reference is reported as undefined.
void XMLCALL onSkippedEntity(void* userData, const XML_Char* /*name*/, int isParameterEntity) {
  if (isParameterEntity != 0) return;  // a declaration unread, no text lost
  XML_Parser parser = static_cast<ListReading*>(userData)->parser;
  reportParseError(parser, XML_ERROR_UNDEFINED_ENTITY);
  XML_StopParser(parser, XML_FALSE);
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

void setListHandlers(ListReading& reading) {
  XML_SetUserData(reading.parser, &reading);
  XML_SetElementHandler(reading.parser, onStartElement, onEndElement);
  XML_SetCharacterDataHandler(reading.parser, onCharacterData);
}

int XMLCALL onUnknownEncoding(void* /*handlerData*/, const XML_Char* name, XML_Encoding* info) {
  if (std::strcmp(name, "windows-1251") != 0) return 0;
  for (int byte = 0; byte < 256; ++byte) {
    info->map[byte] = static_cast<int>(cp1251ToUnicode(static_cast<std::uint8_t>(byte)));
  }
  // One byte a character: no converter.
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return 1;
}

bool openDatabase(platform::InputFile& file, const char* inputPath) {
  if (file.open(inputPath)) return true;
  platform::printMessage("Can't open input file [%s]\n", inputPath);
  return false;
}

bool readDatabase(platform::InputFile& file, const char* inputPath, DvdList& list) {
  const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
      XML_ParserCreate_MM("windows-1251", &kParserMemory, nullptr), XML_ParserFree);
  if (!parser) return reportOutOfMemory(inputPath);

  ListReading reading{list, parser.get()};
  setListHandlers(reading);
  XML_SetUnknownEncodingHandler(parser.get(), onUnknownEncoding, nullptr);
  XML_SetSkippedEntityHandler(parser.get(), onSkippedEntity);

  char chunk[kChunkSize];
  for (;;) {
    const std::size_t count = file.read(chunk, sizeof chunk);
    // A short read is the end of the file only when nothing went wrong.
    if (file.failed()) {
      platform::printMessage("Can't read input file [%s]\n", inputPath);
      return false;
    }
    const bool isFinal = count < sizeof chunk;
    if (XML_Parse(parser.get(), chunk, static_cast<int>(count), isFinal) != XML_STATUS_OK) {
      const XML_Error error = XML_GetErrorCode(parser.get());
      if (reading.outOfMemory || error == XML_ERROR_NO_MEMORY) return reportOutOfMemory(inputPath);
      // Stopped by a handler that has said why already.
      return error == XML_ERROR_ABORTED ? false : reportParseError(parser.get(), error);
    }
    if (isFinal) return !reading.outOfMemory || reportOutOfMemory(inputPath);
  }
}

}  // namespace velmar
