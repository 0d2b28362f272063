#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/output_file.h"
#include "program_io.h"
#include "test_support.h"
#include "writer/fiction_book_writer.h"
#include "writer/plain_runs.h"

namespace velmar {
namespace {

using testing::bookPassesSchemaCheck;
using testing::kNovemberMorning;
using testing::readFile;
using testing::ScratchDir;
using testing::testData;

struct RecordTexts {
  const char* nameR;
  const char* nameO;
  const char* sign;
  const char* obz;
};

void fill(DvdList& list, const std::vector<RecordTexts>& records) {
  for (const RecordTexts& texts : records) {
    DvdRecord* record = list.records.add();
    ASSERT_NE(record, nullptr);
    ASSERT_TRUE(list.appendToField(record->nameR, texts.nameR, std::strlen(texts.nameR)));
    ASSERT_TRUE(list.appendToField(record->nameO, texts.nameO, std::strlen(texts.nameO)));
    ASSERT_TRUE(list.appendToField(record->sign, texts.sign, std::strlen(texts.sign)));
    ASSERT_TRUE(list.appendToField(record->obz, texts.obz, std::strlen(texts.obz)));
  }
}

struct GoldenCase {
  const char* name;
  std::vector<RecordTexts> records;
  const char* expectedBook;
};

class WriterGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(WriterGolden, WritesTheExpectedBytes) {
  const GoldenCase& c = GetParam();
  DvdList list;
  fill(list, c.records);
  ScratchDir dir;
  const std::string book = dir.path("book.fb2");
  ASSERT_TRUE(testing::writeBook(book.c_str(), list, kNovemberMorning));
  EXPECT_EQ(readFile(book), readFile(testData(std::string("writer/") + c.expectedBook)));
  EXPECT_TRUE(bookPassesSchemaCheck(book));
}

INSTANTIATE_TEST_SUITE_P(
    Books, WriterGolden,
    ::testing::Values(
        GoldenCase{"EmptyList", {}, "empty_list.fb2"},
        GoldenCase{"OneEmptyRecord", {{"", "", "", ""}}, "one_empty_record.fb2"},
        GoldenCase{"ThreeRecords",
                   {{"\xd2\xee\xec \xe8 \xc4\xe6\xe5\xf0\xf0\xe8 \xab\xeb\xf3\xf7\xf8\xe5\xe5\xbb "
                     "\x97 \xb9 1",
                     "Tom & Jerry's <best> \"cut\"", "A-01", "First line\nsecond & last\rline"},
                    {"", "", "B-02", ""},
                    {"\xd2\xf0\xe5\xf2\xe8\xe9", "", "", ""}},
                   "three_records.fb2"}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

struct DateCase {
  platform::LocalTime when;
  const char* line;
};

class WriterDateLine : public ::testing::TestWithParam<DateCase> {};

TEST_P(WriterDateLine, PadsOnlyTheMinute) {
  DvdList list;
  ScratchDir dir;
  const std::string book = dir.path("dated.fb2");
  ASSERT_TRUE(testing::writeBook(book.c_str(), list, GetParam().when));
  EXPECT_NE(readFile(book).find(std::string("\r\n") + GetParam().line + "\r\n"), std::string::npos)
      << readFile(book);
  EXPECT_TRUE(bookPassesSchemaCheck(book));
}

INSTANTIATE_TEST_SUITE_P(
    Times, WriterDateLine,
    ::testing::Values(
        DateCase{{2004, 11, 1, 9, 5}, " <date value=\"2004-11-1\">1.11.2004, 9:05</date>"},
        DateCase{{2026, 12, 31, 23, 59}, " <date value=\"2026-12-31\">31.12.2026, 23:59</date>"},
        DateCase{{1999, 1, 9, 0, 0}, " <date value=\"1999-1-9\">9.1.1999, 0:00</date>"}));

TEST(FictionBookWriter, UnopenableOutputIsReported) {
  DvdList list;
  ScratchDir dir;
  const std::string book = dir.path("no/such/dir/book.fb2");
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(testing::writeBook(book.c_str(), list, kNovemberMorning));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Can't open output file [" + book + "]\n");
}

TEST(FictionBookWriter, FullDeviceIsReportedNotIgnored) {
  DvdList list;
  fill(list, {{"a", "b", "c", "d"}});
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(testing::writeBook("/dev/full", list, kNovemberMorning));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Can't write output file [/dev/full]\n");
  EXPECT_TRUE(testing::fileExists("/dev/full")) << "a device is never removed";
}

// A file-size limit makes the write fail part-way, as a full disk would; the partial book must
// not be left behind looking complete.
TEST(FictionBookWriter, PartlyWrittenBookIsRemoved) {
  DvdList list;
  const std::string review(200 * 1024, 'r');
  fill(list, {{"a", "b", "c", review.c_str()}});
  ScratchDir dir;
  const std::string book = dir.path("book.fb2");

  struct sigaction ignore {}, previousAction {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previousAction);
  rlimit previousLimit{};
  getrlimit(RLIMIT_FSIZE, &previousLimit);
  rlimit small = previousLimit;
  small.rlim_cur = 100 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  ::testing::internal::CaptureStdout();
  const bool written = testing::writeBook(book.c_str(), list, kNovemberMorning);
  const std::string printed = ::testing::internal::GetCapturedStdout();
  setrlimit(RLIMIT_FSIZE, &previousLimit);
  sigaction(SIGXFSZ, &previousAction, nullptr);

  EXPECT_FALSE(written);
  EXPECT_EQ(printed, "Can't write output file [" + book + "]\n");
  EXPECT_FALSE(testing::fileExists(book));
}

// The bytes putEscaped cannot copy as they are; every other byte value must be passed over,
// the neighbours of these above all (0x21, 0x3D, 0x0B...) and the high bytes that differ from
// one of them only in the top bit (0xA2, 0xA6, 0x8A...), which a word-at-a-time test can
// mistake for them.
constexpr char kSpecialBytes[] = {'"', '&', '\'', '<', '>', '\n'};

bool isSpecial(unsigned char byte) {
  return std::memchr(kSpecialBytes, byte, sizeof kSpecialBytes) != nullptr;
}

struct PrefixWay {
  const char* name;
  std::size_t (*prefix)(const char*, std::size_t);
};

class PlainPrefix : public ::testing::TestWithParam<PrefixWay> {};

TEST_P(PlainPrefix, FindsEachSpecialByteAtEveryPositionAndAlignment) {
  const auto prefix = GetParam().prefix;
  // 16 alignments of the start, lengths up to three 16-byte blocks and a tail.
  alignas(16) char storage[16 + 53];
  for (std::size_t align = 0; align < 16; ++align) {
    char* const text = storage + align;
    for (std::size_t length = 0; length <= 53; ++length) {
      std::memset(text, 'x', length);
      ASSERT_EQ(prefix(text, length), length) << "align " << align << " length " << length;
      for (std::size_t at = 0; at < length; ++at) {
        for (const char special : kSpecialBytes) {
          text[at] = special;
          ASSERT_EQ(prefix(text, length), at)
              << "align " << align << " length " << length << " byte " << int(special);
          // A second special byte further on does not hide the first.
          if (at + 1 < length) {
            text[length - 1] = '<';
            ASSERT_EQ(prefix(text, length), at);
            text[length - 1] = 'x';
          }
          text[at] = 'x';
        }
      }
    }
  }
}

TEST_P(PlainPrefix, PassesOverEveryOtherByteValue) {
  for (int value = 0; value < 256; ++value) {
    if (isSpecial(static_cast<unsigned char>(value))) continue;
    // The value fills whole blocks and words, then a special byte ends the text.
    const std::string text = std::string(40, static_cast<char>(value)) + '&';
    EXPECT_EQ(GetParam().prefix(text.data(), text.size()), 40u) << "byte " << value;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PlainPrefix,
    ::testing::Values(PrefixWay{"Words", plainPrefixLengthPortable},
                      PrefixWay{"Vector", plainPrefixLength}),
    [](const ::testing::TestParamInfo<PrefixWay>& info) { return info.param.name; });

// What putEscaped must write, one byte at a time.
std::string escapedByHand(const std::string& text) {
  std::string out;
  for (const char byte : text) {
    switch (byte) {
      case '"': out += "&quot;"; break;
      case '&': out += "&amp;"; break;
      case '\'': out += "&apos;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\n': out += "\r\n"; break;
      default: out += byte;
    }
  }
  return out;
}

// Texts that fill the writer's buffer past its end, in one piece or in many, with special
// bytes where the buffer fills up; and every byte value once, each escaped as by hand.
TEST(BookText, EscapedTextsAcrossTheBufferEndAreWrittenWhole) {
  const std::size_t size = BookText::kBufferSize;
  std::string longText;
  for (std::size_t at = 0; longText.size() < 2 * size + 100; ++at) {
    longText += at % 97 == 0 ? kSpecialBytes[at % sizeof kSpecialBytes] : char('a' + at % 26);
  }
  std::string everyByte;
  for (int value = 0; value < 256; ++value) everyByte += static_cast<char>(value);
  const std::vector<std::string> texts = {
      std::string(size - 1, 'a') + "\n\n&",
      std::string(size, '\xE9') + "<",
      std::string(size + 1, '\n'),
      longText,
      everyByte,
  };
  for (std::size_t index = 0; index < texts.size(); ++index) {
    const std::string& text = texts[index];
    ScratchDir dir;
    const std::string path = dir.path("text.txt");
    platform::OutputFile file;
    ASSERT_TRUE(file.prepare(path.c_str()) && file.open());
    BookText out(file);
    // The whole text, then the same text in pieces of 1000 bytes.
    putEscaped(out, text.data(), text.size());
    for (std::size_t at = 0; at < text.size(); at += 1000) {
      putEscaped(out, text.data() + at, std::min<std::size_t>(1000, text.size() - at));
    }
    ASSERT_TRUE(out.commit());
    EXPECT_TRUE(readFile(path) == escapedByHand(text) + escapedByHand(text)) << "text " << index;
  }
}

// Texts made into the book's form when the program is built: each line feed becomes CR LF, a
// lone CR stays, an empty text writes nothing.
TEST(BookText, FixedTextsHaveEachLineFeedAsCrLf) {
  static constexpr auto kEmpty = BookText::fixed("");
  static constexpr auto kLines = BookText::fixed("<p>\nfirst\n\nlast\n");
  static constexpr auto kReturns = BookText::fixed("a\rb\r\nc");
  ScratchDir dir;
  const std::string path = dir.path("fixed.txt");
  platform::OutputFile file;
  ASSERT_TRUE(file.prepare(path.c_str()) && file.open());
  BookText out(file);
  out.write(kEmpty);
  out.write(kLines);
  out.write(kReturns);
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(readFile(path), "<p>\r\nfirst\r\n\r\nlast\r\na\rb\r\r\nc");
}

}  // namespace
}  // namespace velmar
