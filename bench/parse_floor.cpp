// velmar_parse_floor: the speed floor of any converter built on our XML parser set-up.
//
//   velmar_parse_floor INPUT
//
// It does exactly the reading half of the converter and nothing else: the same parser, forced to
// windows-1251 with the same code-page map (velmar::onUnknownEncoding), fed the file in the same
// kChunkSize chunks by fread + XML_Parse, with start, end and character-data handlers that do
// nothing. The converter can only be slower than this. Exit status 0 when the file parsed, 1
// otherwise.

#include <expat.h>

#include <cstdio>

#include "reader/database_reader.h"

namespace {

// Empty, but installed: the parser then does all the work of reporting names and text.
void XMLCALL onStart(void* /*userData*/, const XML_Char* /*name*/,
                     const XML_Char** /*attributes*/) {}
void XMLCALL onEnd(void* /*userData*/, const XML_Char* /*name*/) {}
void XMLCALL onText(void* /*userData*/, const XML_Char* /*text*/, int /*length*/) {}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmar_parse_floor INPUT\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::printf("Can't open input file [%s]\n", argv[1]);
    return 1;
  }
  XML_Parser parser = XML_ParserCreate("windows-1251");
  if (parser == nullptr) {
    std::fclose(file);
    return 1;
  }
  XML_SetElementHandler(parser, onStart, onEnd);
  XML_SetCharacterDataHandler(parser, onText);
  XML_SetUnknownEncodingHandler(parser, velmar::onUnknownEncoding, nullptr);

  int status = 0;
  char chunk[velmar::kChunkSize];
  for (;;) {
    const std::size_t count = std::fread(chunk, 1, sizeof chunk, file);
    if (count < sizeof chunk && std::ferror(file)) {
      std::printf("Can't read input file [%s]\n", argv[1]);
      status = 1;
      break;
    }
    const bool isFinal = count < sizeof chunk;
    if (XML_Parse(parser, chunk, static_cast<int>(count), isFinal) != XML_STATUS_OK) {
      std::printf("XMLError: %s at line %lu column %lu\n",
                  XML_ErrorString(XML_GetErrorCode(parser)),
                  static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)),
                  static_cast<unsigned long>(XML_GetCurrentColumnNumber(parser)));
      status = 1;
      break;
    }
    if (isFinal) break;
  }
  XML_ParserFree(parser);
  std::fclose(file);
  return status;
}
