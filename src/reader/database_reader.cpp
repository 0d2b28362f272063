#include "reader/database_reader.h"

#include <cstring>
#include <memory>

#include "platform/heap.h"
#include "platform/messages.h"
#include "reader/cp1251_table.h"
#include "reader/element_handlers.h"

namespace velmar {
namespace {

// The parser takes its memory from the program heap like the rest of the reader.
const XML_Memory_Handling_Suite kParserMemory = {platform::heapAllocate, platform::heapResize,
                                                 platform::heapFree};

struct ParserFreer {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

bool reportOutOfMemory(const char* inputPath) {
  platform::printMessage("Out of memory reading input file [%s]\n", inputPath);
  return false;
}

bool reportParseError(XML_Parser parser) {
  platform::printMessage("XMLError: %s at line %lu column %lu\n",
                         XML_ErrorString(XML_GetErrorCode(parser)),
                         static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)),
                         static_cast<unsigned long>(XML_GetCurrentColumnNumber(parser)));
  return false;
}

}  // namespace

int XMLCALL onUnknownEncoding(void* /*handlerData*/, const XML_Char* name, XML_Encoding* info) {
  if (std::strcmp(name, "windows-1251") != 0) return 0;
  for (int byte = 0; byte < 256; ++byte) {
    info->map[byte] = static_cast<int>(cp1251ToUnicode(static_cast<std::uint8_t>(byte)));
  }
  // Every byte is a character of its own: no converter is needed.
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
  // An encoding given here overrides the one the document declares.
  const std::unique_ptr<XML_ParserStruct, ParserFreer> parser(
      XML_ParserCreate_MM("windows-1251", &kParserMemory, nullptr));
  if (!parser) return reportOutOfMemory(inputPath);

  ListReading reading{list, parser.get()};
  setListHandlers(reading);
  XML_SetUnknownEncodingHandler(parser.get(), onUnknownEncoding, nullptr);

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
      if (reading.outOfMemory || XML_GetErrorCode(parser.get()) == XML_ERROR_NO_MEMORY) {
        return reportOutOfMemory(inputPath);
      }
      return reportParseError(parser.get());
    }
    if (isFinal) return !reading.outOfMemory || reportOutOfMemory(inputPath);
  }
}

}  // namespace velmar
