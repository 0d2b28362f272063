#include "writer/fiction_book_writer.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <string_view>

#include "platform/messages.h"
#include "writer/plain_runs.h"

namespace velmar {
namespace {

// The header up to the date line. The book title's middle word is windows-1251 for "Список".
constexpr auto kHeadBeforeDate = BookText::fixed(
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
    "  </author>\n");

constexpr auto kHeadAfterDate = BookText::fixed(
    " <id>Id</id>\n"
    " <version>2.0</version>\n"
    " </document-info>\n"
    "</description>\n"
    "<body>\n"
    "<section>\n");

constexpr auto kContentsEnd = BookText::fixed("</section>\n");
constexpr auto kTail = BookText::fixed("\n</body>\n</FictionBook>\n");

// Around a record's texts.
constexpr auto kParagraphOpen = BookText::fixed("<p>");
constexpr auto kParagraphClose = BookText::fixed("</p>\n");
constexpr auto kLinkOpen = BookText::fixed("<p><a xlink:href=\"#");
constexpr auto kLinkMiddle = BookText::fixed("\" type=\"note\">");
constexpr auto kLinkClose = BookText::fixed("</a></p>\n<empty-line/>\n");
constexpr auto kNoteOpen = BookText::fixed("    <section id=\"");
constexpr auto kNoteTitle = BookText::fixed("\">\n    <title>\n    <p>");
constexpr auto kNoteText = BookText::fixed("    </p>\n    </title>\n    <p>");
constexpr auto kNoteClose = BookText::fixed("    </p>\n     </section>\n");

// The line feed's number in kEscapeOf: handed over as a line end, not an entity.
constexpr std::uint8_t kLineFeed = kEscapeOf['\n'];

// The record number as %zu writes it, without a formatted print for each.
void putNumber(BookText& out, std::size_t value) {
  char digits[24];
  char* const end = digits + sizeof digits;
  char* first = end;
  do {
    *--first = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  out.writeVerbatim(first, static_cast<std::size_t>(end - first));
}

void putParagraph(BookText& out, const FieldText& text) {
  out.write(kParagraphOpen);
  putEscaped(out, text.data(), text.size());
  out.write(kParagraphClose);
}

void putDateLine(BookText& out, const platform::LocalTime& dated) {
  char line[128];
  const int length = std::snprintf(line, sizeof line,
                                   " <date value=\"%d-%d-%d\">%d.%d.%d, %d:%02d</date>",
                                   dated.year, dated.month, dated.day, dated.day, dated.month,
                                   dated.year, dated.hour, dated.minute);
  // Should the C library fail, the book goes without a date line rather than a broken one.
  if (length > 0 && static_cast<std::size_t>(length) < sizeof line) {
    out.writeVerbatim(line, static_cast<std::size_t>(length));
    out.endLine();
  }
}

void putContentsEntry(BookText& out, const DvdRecord& record, std::size_t index) {
  if (!record.nameO.empty()) putParagraph(out, record.nameO);
  if (!record.nameR.empty()) putParagraph(out, record.nameR);
  out.write(kLinkOpen);
  putNumber(out, index);
  out.write(kLinkMiddle);
  putEscaped(out, record.sign.data(), record.sign.size());
  out.write(kLinkClose);
}

void putNoteSection(BookText& out, const DvdRecord& record, std::size_t index) {
  out.write(kNoteOpen);
  putNumber(out, index);
  out.write(kNoteTitle);
  putEscaped(out, record.sign.data(), record.sign.size());
  out.write(kNoteText);
  putEscaped(out, record.obz.data(), record.obz.size());
  out.write(kNoteClose);
}

void putBook(BookText& out, const DvdList& list, const platform::LocalTime& dated) {
  out.write(kHeadBeforeDate);
  putDateLine(out, dated);
  out.write(kHeadAfterDate);
  const DvdRecords& records = list.records;
  for (std::size_t index = 0; index < records.size() && !out.failed(); ++index) {
    putContentsEntry(out, records[index], index);
  }
  out.write(kContentsEnd);
  for (std::size_t index = 0; index < records.size() && !out.failed(); ++index) {
    putNoteSection(out, records[index], index);
  }
  out.write(kTail);
}

}  // namespace

void putEscaped(BookText& out, const char* bytes, std::size_t count) {
  const char* const end = bytes + count;
  for (;;) {
    const std::size_t run = plainPrefixLength(bytes, static_cast<std::size_t>(end - bytes));
    out.writeVerbatim(bytes, run);
    bytes += run;
    if (bytes == end) return;
    const std::uint8_t escape = kEscapeOf[static_cast<std::uint8_t>(*bytes++)];
    if (escape == kLineFeed) {
      out.endLine();
    } else {
      const std::string_view entity = kEscapedBytes[escape - 1].entity;
      out.writeVerbatim(entity.data(), entity.size());
    }
  }
}

bool writeFictionBook(platform::OutputFile& file, const char* outputPath, const DvdList& list,
                      const platform::LocalTime& dated) {
  if (!file.open()) {
    platform::printMessage("Can't open output file [%s]\n", outputPath);
    return false;
  }
  // Without the memory for its buffer the book is given up as on any other failure.
  const std::unique_ptr<BookText> out(new (std::nothrow) BookText(file));
  if (out) putBook(*out, list, dated);
  if (!out || !out->commit()) {
    file.abandon();
    platform::printMessage("Can't write output file [%s]\n", outputPath);
    if (!file.keptCopy().empty())
      platform::printMessage("The old book is kept in [%s]\n", file.keptCopy().c_str());
    return false;
  }
  return true;
}

}  // namespace velmar
