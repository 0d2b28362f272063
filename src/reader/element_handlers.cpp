#include "reader/element_handlers.h"

#include <cstddef>

#include "reader/cp1251_down_conversion.h"
#include "reader/parsed_text.h"

namespace velmar {
namespace {

// Whether the element `name` is `expected`. It stops at the first byte that differs, so it
// reads no further into `name` than its NUL; with the length known it compiles to a few
// compares, where strcmp was a call for each of the five names on every element.
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

void stopOutOfMemory(DvdList& list) {
  list.outOfMemory = true;
  if (list.activeParser != nullptr) XML_StopParser(list.activeParser, XML_FALSE);
}

}  // namespace

void XMLCALL onStartElement(void* userData, const XML_Char* name, const XML_Char** /*attributes*/) {
  DvdList& list = *static_cast<DvdList*>(userData);
  if (list.outOfMemory) return;
  if (nameIs(name, "VelmarList")) {
    if (list.records.add() == nullptr) stopOutOfMemory(list);
    return;
  }
  FieldKind kind;
  if (fieldKindOf(name, kind)) list.currentKind = kind;
}

void XMLCALL onEndElement(void* userData, const XML_Char* name) {
  DvdList& list = *static_cast<DvdList*>(userData);
  if (list.outOfMemory) return;
  FieldKind kind;
  if (fieldKindOf(name, kind) && !commitField(list)) stopOutOfMemory(list);
}

void XMLCALL onCharacterData(void* userData, const XML_Char* text, int length) {
  DvdList& list = *static_cast<DvdList*>(userData);
  if (list.outOfMemory || length <= 0) return;
  std::size_t count = static_cast<std::size_t>(length);
  if (list.text.length() == 0) {
    // Only line breaks are skipped, and only before a text has begun.
    while (count > 0 && (*text == '\n' || *text == '\r')) {
      ++text;
      --count;
    }
    if (count == 0) return;
  }
  const bool whole = count == static_cast<std::size_t>(length);
  const bool appended = list.activeParser != nullptr
                            ? appendParsedText(list, text, count, whole)
                            : list.text.append(text, count);
  if (!appended) stopOutOfMemory(list);
}

bool commitField(DvdList& list) {
  if (list.records.empty()) {
    list.text.clear();
    return true;
  }
  // Text that came from a parser is windows-1251 already; text handed in directly is UTF-8.
  if (list.activeParser == nullptr) toCp1251InPlace(list.text);
  return list.commitText(list.records.back().field(list.currentKind));
}

}  // namespace velmar
