#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdlib>
#include <string>

#include "reader/cp1251_table.h"
#include "reference_handlers.h"

namespace velmar {
namespace {

std::string utf8(std::uint32_t codePoint) {
  std::string bytes;
  if (codePoint < 0x80) {
    bytes += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    bytes += static_cast<char>(0xC0 | (codePoint >> 6));
    bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    bytes += static_cast<char>(0xE0 | (codePoint >> 12));
    bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (codePoint >> 18));
    bytes += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return bytes;
}

std::string downConvert(const std::string& text) {
  TextAccumulator accumulator;
  EXPECT_TRUE(accumulator.append(text.data(), text.size()));
  testing::toCp1251InPlace(accumulator);
  EXPECT_EQ(accumulator.data()[accumulator.length()], '\0') << "the text ends in a NUL";
  return std::string(accumulator.data(), accumulator.length());
}

// The C library's own windows-1251 converter is an independent witness for the table.
TEST(Cp1251Table, AgreesWithTheSystemConverter) {
  iconv_t converter = iconv_open("UTF-32LE", "CP1251");
  if (converter == reinterpret_cast<iconv_t>(-1) && std::getenv("VELMAR_TEST_EMULATOR") != nullptr) {
    GTEST_SKIP() << "under the emulator the target's C library finds no iconv module for CP1251";
  }
  ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    if (byte == kCp1251Unassigned) continue;
    char in = static_cast<char>(byte);
    char* inPtr = &in;
    std::size_t inLeft = 1;
    unsigned char out[4] = {};
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    ASSERT_NE(iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1))
        << "byte " << byte;
    // Little-endian, whatever the machine's own order.
    const std::uint32_t codePoint =
        out[0] | out[1] << 8 | out[2] << 16 | static_cast<std::uint32_t>(out[3]) << 24;
    EXPECT_EQ(cp1251ToUnicode(static_cast<std::uint8_t>(byte)), codePoint) << "byte " << byte;
  }
  iconv_close(converter);
  EXPECT_EQ(cp1251ToUnicode(kCp1251Unassigned), 0x98u);
}

TEST(Cp1251DownConversion, EveryDefinedByteSurvivesTheRoundTrip) {
  std::string decoded;
  std::string original;
  for (int byte = 0x01; byte <= 0xFF; ++byte) {
    if (byte == kCp1251Unassigned) continue;
    original += static_cast<char>(byte);
    decoded += utf8(cp1251ToUnicode(static_cast<std::uint8_t>(byte)));
    EXPECT_EQ(downConvert(utf8(cp1251ToUnicode(static_cast<std::uint8_t>(byte)))),
              std::string(1, static_cast<char>(byte)))
        << "byte " << byte;
  }
  EXPECT_EQ(downConvert(decoded), original) << "all of them in one text";
}

struct ConversionCase {
  const char* name;
  std::string utf8;
  std::string cp1251;
};

class Cp1251Conversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Cp1251Conversion, GivesTheCodePageBytes) {
  EXPECT_EQ(downConvert(GetParam().utf8), GetParam().cp1251);
}

TEST_P(Cp1251Conversion, GivesTheSameBytesWrittenElsewhere) {
  const std::string& text = GetParam().utf8;
  std::string out(text.size() + 1, '#');
  const std::size_t written = toCp1251(text.data(), text.size(), &out[0]);
  EXPECT_EQ(out.substr(0, written), GetParam().cp1251);
  EXPECT_EQ(out.substr(written), std::string(text.size() + 1 - written, '#')) << "nothing past";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp1251Conversion,
    ::testing::Values(
        ConversionCase{"Empty", "", ""},
        ConversionCase{"Ascii", "Tom & Jerry <1999>\r\n", "Tom & Jerry <1999>\r\n"},
        ConversionCase{"Privet", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
                       "\xCF\xF0\xE8\xE2\xE5\xF2"},
        ConversionCase{"YoUpperAndLower", "\xD0\x81\xD1\x91", "\xA8\xB8"},
        ConversionCase{"Numero", "\xE2\x84\x96", "\xB9"},
        ConversionCase{"TradeMark", "\xE2\x84\xA2", "\x99"},
        ConversionCase{"QuotesAndDash", "\xC2\xAB\xE2\x80\x94\xC2\xBB", "\xAB\x97\xBB"},
        ConversionCase{"UkrainianI", "\xD0\x86\xD1\x96\xD0\x87\xD1\x97\xD2\x90", "\xB2\xB3\xAF\xBF\xA5"},
        ConversionCase{"Euro", "\xE2\x82\xAC", "\x88"},
        ConversionCase{"NoBreakSpace", "a\xC2\xA0" "b", "a\xA0" "b"},
        ConversionCase{"OutsideTheCodePage", "caf\xC3\xA9", "caf?"},
        ConversionCase{"UnassignedStandIn", "\xC2\x98", "?"},
        ConversionCase{"BeyondTheBasicPlane", "[\xF0\x9F\x98\x80]", "[?]"},
        ConversionCase{"OtherLetterlikeSymbol", "\xE2\x84\x83", "?"},
        ConversionCase{"TruncatedCyrillicLead", "ab\xD0", "ab\xD0"},
        ConversionCase{"TruncatedNumero", "ab\xE2\x84", "ab\xE2"}),
    [](const ::testing::TestParamInfo<ConversionCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmar
