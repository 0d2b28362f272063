#pragma once
// Reads a DVD database file into a DvdList, always as windows-1251 whatever it declares.

#include <expat.h>

#include <cstddef>

#include "platform/input_file.h"
#include "reader/dvd_list.h"

namespace velmar {

inline constexpr std::size_t kChunkSize = 2048;

// Opens the database file; when it cannot be opened, prints "Can't open input file [...]" and
// returns false. It is opened before the book is, so the book can be checked against it.
bool openDatabase(platform::InputFile& file, const char* inputPath);

// True when the whole of `file` was read and parsed. Otherwise prints one message (the file
// cannot be read, an XML error with its position, or memory ran out) and returns false; the
// list must then not be used. `inputPath` names the file in the messages.
bool readDatabase(platform::InputFile& file, const char* inputPath, DvdList& list);

// Supplies the windows-1251 map to the parser; returns 0 for any other encoding name.
int XMLCALL onUnknownEncoding(void* handlerData, const XML_Char* name, XML_Encoding* info);

}  // namespace velmar
