#pragma once
// For the tests and the fuzz targets: the handlers the program's (reader/database_reader.h) are
// held to. They gather the parser's UTF-8 as it comes and down-convert it at each commit: slower
// and plainly right.

#include "reader/database_reader.h"
#include "reader/dvd_list.h"

namespace velmar::testing {

// Rewrites the accumulator's UTF-8 text as windows-1251 (toCp1251), its NUL after it.
void toCp1251InPlace(TextAccumulator& text);

// The same as setListHandlers, the text gathered the reference way.
void setReferenceListHandlers(ListReading& reading);

}  // namespace velmar::testing
