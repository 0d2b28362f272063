#include "writer/fiction_book_writer.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/messages.h"

namespace velmar {
namespace {

// The header up to the date line. The book title's middle word is windows-1251 for "Список".
constexpr char kHeadBeforeDate[] =
    "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"
    "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
    "xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"
    "<description>\n"
    " <title-info>\n"
    "  <genre>DVD List</genre>\n"
    "  <author>\n"
    "   <first-name>http://velmar2fb2.example.org/</first-name>\n"
    "   <middle-name>velmar2fb2@example.org</middle-name>\n"
    "   <last-name>velmar2fb2@example.org</last-name>\n"
    "  </author>\n"
    "  <book-title>Velmar \xD1\xEF\xE8\xF1\xEE\xEA DVD</book-title>\n"
    "  <lang>ru</lang>\n"
    " </title-info>\n"
    " <document-info>\n"
    "  <author>\n"
    "   <nickname>velmar2fb2</nickname>\n"
    "  </author>\n";

constexpr char kHeadAfterDate[] =
    " <id>Id</id>\n"
    " <version>2.0</version>\n"
    " </document-info>\n"
    "</description>\n"
    "<body>\n"
    "<section>\n";

constexpr char kTail[] =
    "\n</body>\n"
    "</FictionBook>\n";

// The five bytes the book escapes, and what each becomes: kEntityOf gives, for every byte, its
// entity's index in kEntities, 0 for a byte written as it is.
struct Entity {
  const char* text;
  std::size_t length;
};
constexpr Entity kEntities[] = {
    {"", 0}, {"&quot;", 6}, {"&amp;", 5}, {"&apos;", 6}, {"&lt;", 4}, {"&gt;", 4},
};

constexpr std::array<std::uint8_t, 256> buildEntityTable() {
  std::array<std::uint8_t, 256> table{};
  table['"'] = 1;
  table['&'] = 2;
  table['\''] = 3;
  table['<'] = 4;
  table['>'] = 5;
  return table;
}
constexpr std::array<std::uint8_t, 256> kEntityOf = buildEntityTable();

void putText(platform::TextFileWriter& out, const char* text) { out.write(text, std::strlen(text)); }

// The record number in decimal, as printf's %zu writes it (there is one or two per record, and a
// formatted print costs more than the rest of a small record's output together).
void putNumber(platform::TextFileWriter& out, std::size_t value) {
  char digits[24];
  char* const end = digits + sizeof digits;
  char* first = end;
  do {
    *--first = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  out.write(first, static_cast<std::size_t>(end - first));
}

void putField(platform::TextFileWriter& out, const FieldText& text) {
  putEscaped(out, text.data(), text.size());
}

void putParagraph(platform::TextFileWriter& out, const FieldText& text) {
  putText(out, "<p>");
  putField(out, text);
  putText(out, "</p>\n");
}

void putDateLine(platform::TextFileWriter& out, const platform::LocalTime& dated) {
  char line[128];
  const int length = std::snprintf(line, sizeof line,
                                   " <date value=\"%d-%d-%d\">%d.%d.%d, %d:%02d</date>\n",
                                   dated.year, dated.month, dated.day, dated.day, dated.month,
                                   dated.year, dated.hour, dated.minute);
  // The fields are small numbers and the line fits with room to spare; should the C library
  // still fail, the book is written without a date line rather than with a broken one.
  if (length > 0 && static_cast<std::size_t>(length) < sizeof line) {
    out.write(line, static_cast<std::size_t>(length));
  }
}

void putContentsEntry(platform::TextFileWriter& out, const DvdRecord& record, std::size_t index) {
  if (!record.nameO.empty()) putParagraph(out, record.nameO);
  if (!record.nameR.empty()) putParagraph(out, record.nameR);
  putText(out, "<p><a xlink:href=\"#");
  putNumber(out, index);
  putText(out, "\" type=\"note\">");
  putField(out, record.sign);
  putText(out, "</a></p>\n<empty-line/>\n");
}

void putNoteSection(platform::TextFileWriter& out, const DvdRecord& record, std::size_t index) {
  putText(out, "    <section id=\"");
  putNumber(out, index);
  putText(out, "\">\n    <title>\n    <p>");
  putField(out, record.sign);
  putText(out, "    </p>\n    </title>\n    <p>");
  putField(out, record.obz);
  putText(out, "    </p>\n     </section>\n");
}

}  // namespace

void putEscaped(platform::TextFileWriter& out, const char* bytes, std::size_t count) {
  const char* const end = bytes + count;
  const char* run = bytes;
  for (const char* at = bytes; at != end; ++at) {
    const std::uint8_t entity = kEntityOf[static_cast<std::uint8_t>(*at)];
    if (entity == 0) continue;
    // Text between entities goes out whole.
    out.write(run, static_cast<std::size_t>(at - run));
    out.write(kEntities[entity].text, kEntities[entity].length);
    run = at + 1;
  }
  out.write(run, static_cast<std::size_t>(end - run));
}

bool writeFictionBook(const char* outputPath, const DvdList& list) {
  return writeFictionBook(outputPath, list, platform::localTimeNow());
}

bool writeFictionBook(const char* outputPath, const DvdList& list,
                      const platform::LocalTime& dated) {
  platform::TextFileWriter out;
  if (!out.open(outputPath)) {
    platform::printMessage("Can't open output file [%s]\n", outputPath);
    return false;
  }
  putText(out, kHeadBeforeDate);
  putDateLine(out, dated);
  putText(out, kHeadAfterDate);
  std::size_t index = 0;
  for (const DvdRecord& record : list.records) {
    if (out.failed()) break;
    putContentsEntry(out, record, index++);
  }
  putText(out, "</section>\n");
  index = 0;
  for (const DvdRecord& record : list.records) {
    if (out.failed()) break;
    putNoteSection(out, record, index++);
  }
  putText(out, kTail);
  if (!out.close()) {
    platform::printMessage("Can't write output file [%s]\n", outputPath);
    out.discard();
    return false;
  }
  return true;
}

}  // namespace velmar
