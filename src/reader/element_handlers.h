#pragma once
// The parser's callbacks that build the DVD list. Each receives the DvdList as its user data;
// names and texts arrive as UTF-8. They never throw: running out of memory marks the list and
// stops the parser.

#include <expat.h>

#include "reader/dvd_list.h"

namespace velmar {

// "VelmarList" opens a record; "nameR", "nameO", "sign" and "obz" choose the current field.
void XMLCALL onStartElement(void* userData, const XML_Char* name, const XML_Char** attributes);

// The end of any of the four field elements commits the gathered text.
void XMLCALL onEndElement(void* userData, const XML_Char* name);

// Gathers text; line breaks before the first byte of a text are skipped.
void XMLCALL onCharacterData(void* userData, const XML_Char* text, int length);

// Appends the gathered text, in windows-1251, to the current field of the last record (or
// drops it while there is no record yet), then empties the accumulator. Text gathered without
// a parser attached to the list is UTF-8 and is down-converted here. False when memory ran
// out; the accumulator is emptied all the same.
bool commitField(DvdList& list);

}  // namespace velmar
