#include "reader/database_reader.h"

#include <cstring>
#include <memory>

#include "platform/heap.h"
#include "platform/messages.h"
#include "reader/cp1251_table.h"

namespace velmar {
namespace {

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
