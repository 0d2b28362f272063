#include "reference_handlers.h"

#include <cstring>

#include "reader/cp1251_table.h"

namespace velmar::testing {
namespace {

// Whether an element name chooses a field.
bool referenceNamesField(const XML_Char* name) {
  for (const char* field : {"nameR", "nameO", "sign", "obz"}) {
    if (std::strcmp(name, field) == 0) return true;
  }
  return false;
}

void XMLCALL onReferenceEnd(void* userData, const XML_Char* name) {
  ListReading& reading = *static_cast<ListReading*>(userData);
  DvdList& list = reading.list;
  if (reading.outOfMemory || !referenceNamesField(name)) return;
  if (list.records.empty()) {
    list.text.clear();
    return;
  }
  toCp1251InPlace(list.text);
  if (!list.commitText(list.records.back().*list.currentField)) {
    reading.outOfMemory = true;
    XML_StopParser(reading.parser, XML_FALSE);
  }
}

void XMLCALL onReferenceText(void* userData, const XML_Char* text, int length) {
  ListReading& reading = *static_cast<ListReading*>(userData);
  if (reading.outOfMemory) return;
  std::size_t skipped = 0;
  // Line breaks before a text has begun are not part of it.
  while (reading.list.text.length() == 0 && skipped < static_cast<std::size_t>(length) &&
         (text[skipped] == '\n' || text[skipped] == '\r')) {
    ++skipped;
  }
  if (!reading.list.text.append(text + skipped, static_cast<std::size_t>(length) - skipped)) {
    reading.outOfMemory = true;
    XML_StopParser(reading.parser, XML_FALSE);
  }
}

}  // namespace

void toCp1251InPlace(TextAccumulator& text) {
  text.truncate(static_cast<std::uint32_t>(toCp1251(text.data(), text.length(), text.data())));
}

void setReferenceListHandlers(ListReading& reading) {
  // The program's start handler: a record, or the field chosen, as the element names say.
  setListHandlers(reading);
  XML_SetEndElementHandler(reading.parser, onReferenceEnd);
  XML_SetCharacterDataHandler(reading.parser, onReferenceText);
}

}  // namespace velmar::testing
