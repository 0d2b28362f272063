#include "text_roads.h"

#include <expat.h>

#include "reader/database_reader.h"

namespace velmar::testing {

bool readAlong(TextRoad road, const char* bytes, std::size_t size, DvdList& list) {
  XML_Parser parser = XML_ParserCreate("windows-1251");
  if (parser == nullptr) return false;
  ListReading reading{list, parser};
  setListHandlers(reading, road);
  XML_SetUnknownEncodingHandler(parser, onUnknownEncoding, nullptr);
  const bool parsed =
      XML_Parse(parser, bytes, static_cast<int>(size), XML_TRUE) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return parsed;
}

}  // namespace velmar::testing
