#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"
#include "writer/fiction_book_writer.h"

namespace velmar {
namespace {

using testing::bookPassesSchemaCheck;
using testing::readFile;
using testing::ScratchDir;
using testing::testData;

constexpr platform::LocalTime kNovemberMorning{2004, 11, 1, 9, 5};

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
  ASSERT_TRUE(writeFictionBook(book.c_str(), list, kNovemberMorning));
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
  ASSERT_TRUE(writeFictionBook(book.c_str(), list, GetParam().when));
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
  EXPECT_FALSE(writeFictionBook(book.c_str(), list, kNovemberMorning));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Can't open output file [" + book + "]\n");
}

TEST(FictionBookWriter, FullDeviceIsReportedNotIgnored) {
  DvdList list;
  fill(list, {{"a", "b", "c", "d"}});
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(writeFictionBook("/dev/full", list, kNovemberMorning));
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
  const bool written = writeFictionBook(book.c_str(), list, kNovemberMorning);
  const std::string printed = ::testing::internal::GetCapturedStdout();
  setrlimit(RLIMIT_FSIZE, &previousLimit);
  sigaction(SIGXFSZ, &previousAction, nullptr);

  EXPECT_FALSE(written);
  EXPECT_EQ(printed, "Can't write output file [" + book + "]\n");
  EXPECT_FALSE(testing::fileExists(book));
}

}  // namespace
}  // namespace velmar
