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
// cannot be read, an XML error with its position, memory ran out), and the list is not to be used.
bool readDatabase(platform::InputFile& file, const char* inputPath, DvdList& list);

// Supplies the windows-1251 map to the parser; returns 0 for any other encoding name.
int XMLCALL onUnknownEncoding(void* handlerData, const XML_Char* name, XML_Encoding* info);

// A read under way: the list the parser's handlers fill and the parser that calls them. Names
// and texts arrive as UTF-8. The handlers never throw: running out of memory sets
// `outOfMemory` and stops the parser, and the list must then not be written.
struct ListReading {
  DvdList& list;
  XML_Parser parser;
  bool outOfMemory = false;
};

// Makes `reading.parser` build `reading.list`: "VelmarList" opens a record; the end of "nameR",
// "nameO", "sign" or "obz" commits the text gathered since the last commit to that field of the
// last record (dropped while there is none). Line breaks before a text's first byte are skipped.
void setListHandlers(ListReading& reading);

// Appends `count` bytes of the UTF-8 text of `parser`'s current event as windows-1251; false
// when memory runs out. Plain character data is copied from the file's own bytes rather than
// turned back from UTF-8; anything else (references, entities, normalised line breaks) is
// down-converted. `whole`: nothing of the piece was skipped, so the file bytes may stand in.
bool appendParsedText(XML_Parser parser, TextAccumulator& accumulator, const XML_Char* text,
                      std::size_t count, bool whole);

// How many characters `count` bytes of UTF-8 hold (the bytes that do not continue one): what
// proves a copy of the file's bytes exact. 16 bytes at a time where the processor has SSE2.
std::size_t utf8CharacterCount(const char* text, std::size_t count);

// The same a word of bytes at a time, which every build has: the tests hold the SSE2 count to it.
std::size_t utf8CharacterCountPortable(const char* text, std::size_t count);

}  // namespace velmar
