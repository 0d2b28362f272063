#pragma once
// For the tests and the fuzz target only; the program does not include this. The same handlers
// as setListHandlers, but gathering the parser's UTF-8 as it comes and down-converting it at each
// commit: slower and plainly right, the yardstick the program's handlers are held to.

#include "reader/element_handlers.h"

namespace velmar {

void setReferenceListHandlers(ListReading& reading);

}  // namespace velmar
