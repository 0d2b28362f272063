#include "utf8_road.h"

#include <expat.h>

#include "reader/database_reader.h"
#include "reader/element_handlers.h"

namespace velmar::testing {

bool readThroughUtf8(const char* bytes, std::size_t size, DvdList& list) {
  XML_Parser parser = XML_ParserCreate("windows-1251");
  if (parser == nullptr) return false;
  XML_SetUserData(parser, &list);
  XML_SetElementHandler(parser, onStartElement, onEndElement);
  XML_SetCharacterDataHandler(parser, onCharacterData);
  XML_SetUnknownEncodingHandler(parser, onUnknownEncoding, nullptr);
  const bool parsed =
      XML_Parse(parser, bytes, static_cast<int>(size), XML_TRUE) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return parsed;
}

}  // namespace velmar::testing
