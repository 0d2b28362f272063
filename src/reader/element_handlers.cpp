#include "reader/database_reader.h"

#include <cstddef>

namespace velmar {
namespace {

// Whether the element `name` is `expected`. It stops at the first byte that differs (so never
// past the NUL of `name`); with the length known it is a few compares, not a call per name.
template <std::size_t N>
bool nameIs(const XML_Char* name, const char (&expected)[N]) {
  for (std::size_t at = 0; at < N; ++at) {  // the NUL included
    if (name[at] != expected[at]) return false;
  }
  return true;
}

// The field an element name chooses, or false for any other element.
bool fieldKindOf(const XML_Char* name, FieldKind& kind) {
  if (nameIs(name, "nameR")) {
    kind = FieldKind::NameR;
  } else if (nameIs(name, "nameO")) {
    kind = FieldKind::NameO;
  } else if (nameIs(name, "sign")) {
    kind = FieldKind::Sign;
  } else if (nameIs(name, "obz")) {
    kind = FieldKind::Obz;
  } else {
    return false;
  }
  return true;
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
  FieldKind kind;
  if (fieldKindOf(name, kind)) list.currentKind = kind;
}

void XMLCALL onEndElement(void* userData, const XML_Char* name) {
  ListReading& reading = *static_cast<ListReading*>(userData);
  FieldKind kind;
  if (reading.outOfMemory || !fieldKindOf(name, kind)) return;
  DvdList& list = reading.list;
  if (list.records.empty()) {
    list.text.clear();  // no record yet: the text is dropped
  } else if (!list.commitText(list.records.back().field(list.currentKind))) {
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

}  // namespace

void setListHandlers(ListReading& reading) {
  XML_SetUserData(reading.parser, &reading);
  XML_SetElementHandler(reading.parser, onStartElement, onEndElement);
  XML_SetCharacterDataHandler(reading.parser, onCharacterData);
}

}  // namespace velmar
