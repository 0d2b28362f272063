#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "heap_failure_scope.h"
#include "reader/database_reader.h"
#include "test_support.h"
#include "program_io.h"

namespace velmar {
namespace {

using testing::Fields;
using testing::readFile;
using testing::recordsOf;
using testing::ScratchDir;
using testing::testData;
using testing::writeFile;

struct ReadResult {
  bool ok;
  std::string printed;
  std::vector<Fields> records;
};

ReadResult read(const std::string& path) {
  DvdList list;
  ::testing::internal::CaptureStdout();
  const bool ok = testing::readDatabaseFile(path.c_str(), list);
  return {ok, ::testing::internal::GetCapturedStdout(), recordsOf(list)};
}

const std::vector<Fields> kCatalogue = {
    {"\xd1\xf2\xe0\xeb\xea\xe5\xf0", "Stalker", "DVD-001",
     "\xab\xc7\xee\xed\xe0\xbb \x97 \xf4\xe8\xeb\xfc\xec \xb9 1.\n\xc2\xf2\xee\xf0\xe0\xff "
     "\xf1\xf2\xf0\xee\xea\xe0."},
    {"\xc1\xf0\xe0\xf2", "Tom & Jerry's <Best> \"Cut\"", "DVD-002",
     "\xb2\xb3\xaa\xba\xaf\xbf\xa5\xb4 \x88 \x99 \xa7 \xb0"},
    {"", "", "DVD-003", ""},
};

TEST(DatabaseReader, ReadsEveryRecordWithItsWindows1251TextIntact) {
  const ReadResult result = read(testData("reader/catalogue.xml"));
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.printed, "");
  EXPECT_EQ(result.records, kCatalogue);
}

struct GoodCase {
  const char* name;
  const char* file;
  std::vector<Fields> records;
};

class DatabaseReaderGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(DatabaseReaderGood, Reads) {
  const ReadResult result = read(testData(std::string("reader/") + GetParam().file));
  EXPECT_TRUE(result.ok) << result.printed;
  EXPECT_EQ(result.records, GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DatabaseReaderGood,
    ::testing::Values(
        // Declared UTF-8 but read as windows-1251: each byte is a character of its own, so
        // the field gets back exactly the bytes of the file.
        GoodCase{"Utf8DeclarationIgnored", "utf8_declared.xml",
                 {{"\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", "", "", ""}}},
        GoodCase{"CrLfLineEnds", "line_ends_crlf.xml", {{"", "", "", "one\ntwo\n"}}},
        GoodCase{"LfLineEnds", "line_ends_lf.xml", {{"", "", "", "one\ntwo\n"}}},
        GoodCase{"LoneCrLineEnds", "line_ends_cr.xml", {{"", "", "", "one\ntwo\n"}}}),
    [](const ::testing::TestParamInfo<GoodCase>& info) { return info.param.name; });

struct BadCase {
  const char* name;
  const char* file;
  const char* message;
};

class DatabaseReaderBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(DatabaseReaderBad, ReportsTheParserError) {
  const ReadResult result = read(testData(std::string("reader/") + GetParam().file));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.printed, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DatabaseReaderBad,
    ::testing::Values(
        BadCase{"Empty", "empty.xml", "XMLError: no element found at line 1 column 0\n"},
        BadCase{"ByteOrderMark", "byte_order_mark.xml",
                "XMLError: not well-formed (invalid token) at line 1 column 1\n"},
        BadCase{"UndefinedEntity", "undefined_entity.xml",
                "XMLError: undefined entity at line 3 column 20\n"},
        // Entities the parser skips, as it may where the document has definitions it does not read.
        BadCase{"EntityOfExternalSubset", "entity_of_external_subset.xml",
                "XMLError: undefined entity at line 4 column 20\n"},
        BadCase{"EntityAfterParameterEntity", "entity_after_parameter_entity.xml",
                "XMLError: undefined entity at line 4 column 20\n"},
        BadCase{"MismatchedTag", "mismatched_tag.xml",
                "XMLError: mismatched tag at line 3 column 22\n"},
        BadCase{"JunkAfterDocument", "junk_after_document.xml",
                "XMLError: junk after document element at line 3 column 0\n"}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return info.param.name; });

TEST(DatabaseReader, MissingFileCannotBeOpened) {
  ScratchDir dir;
  const std::string path = dir.path("missing.xml");
  const ReadResult result = read(path);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.printed, "Can't open input file [" + path + "]\n");
}

// A POSIX system opens a directory and fails the first read; Windows does not open it at all.
TEST(DatabaseReader, DirectoryCannotBeRead) {
  ScratchDir dir;
  const std::string path = dir.path("");
  const ReadResult result = read(path);
  EXPECT_FALSE(result.ok);
  const std::string failure = VELMAR_TESTS_ON_WINDOWS ? "Can't open" : "Can't read";
  EXPECT_EQ(result.printed, failure + " input file [" + path + "]\n");
}

// The file is fed in chunks of 2048 bytes: whatever the size of the file and wherever the
// chunk boundaries fall (inside a tag, inside a two-byte character of the parser's UTF-8),
// the records are the same.
TEST(DatabaseReader, ChunkBoundariesDoNotChangeTheRecords) {
  const std::string catalogue = readFile(testData("reader/catalogue.xml"));
  const std::string declaration = catalogue.substr(0, catalogue.find('\n') + 1);
  const std::string body = catalogue.substr(declaration.size());
  const std::string frame = declaration + "<!---->";
  ScratchDir dir;
  for (std::size_t size : {std::size_t{2047}, std::size_t{2048}, std::size_t{2049},
                           std::size_t{4095}, std::size_t{4096}, std::size_t{4097}}) {
    for (std::size_t shift : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{301}}) {
      ASSERT_LE(frame.size() + body.size() + shift, size);
      // Padding inside a leading comment moves the body against the chunk boundaries; the
      // rest pads the end of the file to its exact size.
      const std::string padded = declaration + "<!--" + std::string(shift, '-' + 1) + "-->" + body +
                                 std::string(size - frame.size() - body.size() - shift, ' ');
      ASSERT_EQ(padded.size(), size);
      const std::string path = dir.path("padded.xml");
      writeFile(path, padded);
      const ReadResult result = read(path);
      EXPECT_TRUE(result.ok) << size << "/" << shift << ": " << result.printed;
      EXPECT_EQ(result.records, kCatalogue) << size << "/" << shift;
    }
  }
}

// Every allocation of a read (the parser's own, the record storage, the fields and the text
// accumulator) is made to fail in turn: each failure must end the read with the out-of-memory
// message, never with a list that silently lacks text.
TEST(DatabaseReader, EveryAllocationFailureIsReported) {
  const std::string path = testData("reader/catalogue.xml");
  const std::string message = "Out of memory reading input file [" + path + "]\n";
  long failures = 0;
  for (long allowed = 0;; ++allowed) {
    DvdList list;
    ::testing::internal::CaptureStdout();
    platform::HeapFailureScope scarce(allowed);
    const bool ok = testing::readDatabaseFile(path.c_str(), list);
    const long refused = scarce.refusedCount();
    const std::string printed = ::testing::internal::GetCapturedStdout();
    if (refused == 0) {
      EXPECT_TRUE(ok) << printed;
      EXPECT_EQ(recordsOf(list), kCatalogue);
      break;
    }
    ++failures;
    EXPECT_FALSE(ok) << "allocation " << allowed << " failed unnoticed";
    EXPECT_EQ(printed, message) << "allocation " << allowed;
    ASSERT_LT(allowed, 10000) << "the read never stops allocating";
  }
  EXPECT_GT(failures, 5) << "the parser, records and fields all allocate";
}

// The reader takes plain character data straight from the file's windows-1251 bytes; the
// reference handlers down-convert the parser's UTF-8 at each commit (program_io.h).
// Both must give the same records, whatever the text is made of.
std::vector<Fields> readThroughUtf8(const std::string& path) {
  DvdList list;
  const std::string bytes = readFile(path);
  EXPECT_TRUE(testing::parseWhole(testing::Handlers::Reference, bytes.data(), bytes.size(), list))
      << path;
  return recordsOf(list);
}

TEST(DatabaseReader, FileBytesAndDownConvertedTextAgree) {
  for (const std::string file :
       {"reader/cdata_long_cyrillic.xml", "reader/catalogue.xml", "reader/mixed_text.xml", "reader/line_ends_crlf.xml",
        "reader/line_ends_cr.xml", "reader/utf8_declared.xml", "../../examples/catalogue.xml"}) {
    const ReadResult result = read(testData(file));
    ASSERT_TRUE(result.ok) << file << ": " << result.printed;
    EXPECT_EQ(result.records, readThroughUtf8(testData(file))) << file;
  }
}

TEST(DatabaseReader, ReferencesEntitiesAndCdataBecomeWindows1251) {
  const ReadResult result = read(testData("reader/mixed_text.xml"));
  ASSERT_EQ(result.records.size(), 2u);
  const std::string studio = "\xcc\xee\xf1\xf4\xe8\xeb\xfc\xec \xb9 1 & Co";
  EXPECT_EQ(result.records[0][0], "\xc7\xe5\xf0\xea\xe0\xeb\xee " + studio + " [?] ?\xb9");
  EXPECT_EQ(result.records[0][1], "A <raw> & \"cdata\"\nline\ntwo");
  EXPECT_EQ(result.records[0][2], "  S\x97?\t1  ");
  EXPECT_EQ(result.records[1][2], "tail1999" + studio);
}

// Bytes of both kinds around the edges of the continuation range 0x80 to 0xBF.
constexpr unsigned char kEdgeBytes[] = {0x00, 0x41, 0x7F, 0x80, 0x81, 0xBE, 0xBF, 0xC0, 0xC1, 0xFF};

std::size_t charactersByHand(const std::string& text) {
  std::size_t count = 0;
  for (const char byte : text) count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

struct CountWay {
  const char* name;
  std::size_t (*count)(const char*, std::size_t);
};

class Utf8CharacterCount : public ::testing::TestWithParam<CountWay> {};

TEST_P(Utf8CharacterCount, CountsEveryByteOnItsSideOfTheContinuationRange) {
  const auto count = GetParam().count;
  // Each edge byte at each position of texts of every length up to three blocks and a tail,
  // from every alignment, in a text of every other edge byte.
  alignas(16) char storage[16 + 53];
  for (std::size_t align = 0; align < 16; ++align) {
    for (std::size_t length = 0; length <= 53; ++length) {
      for (const unsigned char fill : kEdgeBytes) {
        std::string text(length, static_cast<char>(fill));
        for (std::size_t at = 0; at < length; ++at) {
          for (const unsigned char edge : kEdgeBytes) {
            text[at] = static_cast<char>(edge);
            std::copy(text.begin(), text.end(), storage + align);
            ASSERT_EQ(count(storage + align, length), charactersByHand(text))
                << "align " << align << " length " << length << " byte " << int(edge) << " in "
                << int(fill);
          }
          text[at] = static_cast<char>(fill);
        }
      }
    }
  }
}

TEST_P(Utf8CharacterCount, LongTextsOfContinuationsAndLeads) {
  const auto count = GetParam().count;
  // Long enough that any per-byte counter kept narrow must be emptied on the way.
  for (const std::size_t length : {4079u, 4080u, 4081u, 9000u, 70000u}) {
    const std::string continuations(length, '\x80');
    EXPECT_EQ(count(continuations.data(), length), 0u) << length;
    std::string cyrillic;
    while (cyrillic.size() < length) cyrillic += "\xD0\x96";
    EXPECT_EQ(count(cyrillic.data(), cyrillic.size()), cyrillic.size() / 2) << length;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Utf8CharacterCount,
    ::testing::Values(CountWay{"Words", utf8CharacterCountPortable},
                      CountWay{"Vector", utf8CharacterCount}),
    [](const ::testing::TestParamInfo<CountWay>& info) { return info.param.name; });

// Long runs of character data and CDATA sections, which the parser hands over in pieces, made
// of every byte of the code page's upper half (one, two and three bytes of UTF-8 each): the
// file bytes must be taken exactly when a piece is all of them.
TEST(DatabaseReader, LongTextsOfEveryUpperByteReadAlikeBothWays) {
  std::string upper;
  for (int byte = 0x80; byte <= 0xFF; ++byte) upper += static_cast<char>(byte);
  std::string text;
  while (text.size() < 9000) text += upper + "ab";
  const std::string bytes = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<VelmarDB>\n"
                            "<VelmarList>\n<nameR>" + text + "</nameR>\n<obz><![CDATA[" + text +
                            "]]></obz>\n<sign><![CDATA[" + text.substr(37, 5000) + "]]>" +
                            text.substr(0, 3000) + "</sign>\n</VelmarList>\n</VelmarDB>\n";
  ScratchDir dir;
  const std::string path = dir.path("upper.xml");
  writeFile(path, bytes);
  const ReadResult result = read(path);
  ASSERT_TRUE(result.ok) << result.printed;
  ASSERT_EQ(result.records.size(), 1u);
  EXPECT_EQ(result.records, readThroughUtf8(path));
  std::string expected = text;
  for (char& byte : expected) {
    if (static_cast<unsigned char>(byte) == 0x98) byte = '?';
  }
  EXPECT_TRUE(result.records[0][3] == expected) << "the CDATA review is the text once";
}

TEST(DatabaseReader, OnlyWindows1251IsSupplied) {
  XML_Encoding info{};
  EXPECT_EQ(onUnknownEncoding(nullptr, "KOI8-R", &info), 0);
  EXPECT_EQ(onUnknownEncoding(nullptr, "WINDOWS-1251", &info), 0) << "the name is case-sensitive";
  ASSERT_EQ(onUnknownEncoding(nullptr, "windows-1251", &info), 1);
  EXPECT_EQ(info.map[0x41], 0x41);
  EXPECT_EQ(info.map[0xC0], 0x0410);
  EXPECT_EQ(info.map[0xB9], 0x2116);
  EXPECT_EQ(info.map[0x98], 0x0098);
  EXPECT_EQ(info.convert, nullptr);
}

}  // namespace
}  // namespace velmar
