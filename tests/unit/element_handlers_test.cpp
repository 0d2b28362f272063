#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/element_handlers.h"
#include "test_support.h"

namespace velmar {
namespace {

using testing::Fields;
using testing::recordsOf;

// One parser event: a start tag, an end tag or a piece of text, as the parser reports them.
struct Event {
  enum Kind { Start, End, Text } kind;
  std::string value;
};
Event S(const char* name) { return {Event::Start, name}; }
Event E(const char* name) { return {Event::End, name}; }
Event T(const std::string& text) { return {Event::Text, text}; }

void play(DvdList& list, const std::vector<Event>& events) {
  const XML_Char* noAttributes[] = {nullptr};
  for (const Event& event : events) {
    switch (event.kind) {
      case Event::Start: onStartElement(&list, event.value.c_str(), noAttributes); break;
      case Event::End: onEndElement(&list, event.value.c_str()); break;
      case Event::Text:
        onCharacterData(&list, event.value.data(), static_cast<int>(event.value.size()));
        break;
    }
  }
}

struct HandlerCase {
  const char* name;
  std::vector<Event> events;
  std::vector<Fields> records;
};

class ElementHandlers : public ::testing::TestWithParam<HandlerCase> {};

TEST_P(ElementHandlers, BuildTheRecords) {
  DvdList list;
  play(list, GetParam().events);
  EXPECT_EQ(recordsOf(list), GetParam().records);
  EXPECT_FALSE(list.outOfMemory);
}

INSTANTIATE_TEST_SUITE_P(
    Events, ElementHandlers,
    ::testing::Values(
        HandlerCase{"FourFields",
                    {S("VelmarList"), S("nameR"), T("A"), E("nameR"), S("nameO"), T("B"),
                     E("nameO"), S("sign"), T("C"), E("sign"), S("obz"), T("D"), E("obz"),
                     E("VelmarList")},
                    {{"A", "B", "C", "D"}}},
        HandlerCase{"TwoNameRAppend",
                    {S("VelmarList"), S("nameR"), T("A"), E("nameR"), S("nameR"), T("B"),
                     E("nameR")},
                    {{"AB", "", "", ""}}},
        HandlerCase{"TextBeforeAFieldJoinsIt",
                    {S("VelmarList"), T("x"), S("sign"), T("S"), E("sign")},
                    {{"", "", "xS", ""}}},
        HandlerCase{"IndentationBeforeTheFirstField",
                    {S("VelmarList"), T("\n"), T("  "), S("nameR"), T("A"), E("nameR")},
                    {{"  A", "", "", ""}}},
        HandlerCase{"IndentedDatabase",
                    {S("root"), T("\n"), T("  "), S("VelmarList"), T("\n"), T("    "),
                     S("nameR"), T("A"), E("nameR")},
                    {{"  \n    A", "", "", ""}}},
        HandlerCase{"OtherElementTextJoinsTheNextField",
                    {S("VelmarList"), S("nameR"), T("N"), E("nameR"), S("year"), T("1999"),
                     E("year"), S("sign"), T("S"), E("sign")},
                    {{"N", "", "1999S", ""}}},
        HandlerCase{"SignNestedInNameR",
                    {S("VelmarList"), S("nameR"), T("a"), S("sign"), T("b"), E("sign"), T("c"),
                     E("nameR")},
                    {{"", "", "abc", ""}}},
        HandlerCase{"FieldsBeforeTheFirstRecordAreLost",
                    {S("root"), S("nameR"), T("lost"), E("nameR"), S("VelmarList"), S("sign"),
                     T("S"), E("sign")},
                    {{"", "", "S", ""}}},
        HandlerCase{"NamesAreCaseSensitive",
                    {S("velmarlist"), S("VELMARLIST"), S("NameR"), T("A"), E("NameR")}, {}},
        HandlerCase{"LineBreaksSkippedOnlyBeforeATextBegins",
                    {S("VelmarList"), S("obz"), T("\r\n\n"), T("line1"), T("\n"), T("line2"),
                     T("\n"), E("obz")},
                    {{"", "", "", "line1\nline2\n"}}},
        HandlerCase{"SpacesAndTabsAreKept",
                    {S("VelmarList"), S("sign"), T(" \t"), T("S "), E("sign")},
                    {{"", "", " \tS ", ""}}},
        HandlerCase{"AnyFieldEndCommitsToTheCurrentKind",
                    {S("VelmarList"), S("obz"), T("a"), E("obz"), E("VelmarList"),
                     S("VelmarList"), T("b"), E("sign")},
                    {{"", "", "", "a"}, {"", "", "", "b"}}},
        // Names one byte longer or shorter than a known one, or differing in case, are other
        // elements: no record, no commit, their text joins the next field.
        HandlerCase{"NamesCloseToKnownOnesAreOtherElements",
                    {S("VelmarList"), S("nameRx"), T("a"), E("nameRx"), S("name"), T("b"),
                     E("name"), S("Sign"), T("c"), E("Sign"), S("obzz"), T("d"), E("obzz"),
                     S("ob"), E("ob"), S("VelmarListX"), S("VelmarLis"), S("velmarList"),
                     S("nameo"), T("e"), E("nameo"), S("obz"), T("f"), E("obz")},
                    {{"", "", "", "abcdef"}}},
        HandlerCase{"CommittedTextIsWindows1251",
                    {S("VelmarList"), S("nameR"),
                     T("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x84\x96"),
                     E("nameR")},
                    {{"\xCF\xF0\xE8\xE2\xE5\xF2 \xB9", "", "", ""}}}),
    [](const ::testing::TestParamInfo<HandlerCase>& info) { return info.param.name; });

TEST(ElementHandlers, FieldMuchLargerThanTheInlineStorageCommitsIntact) {
  // "Привет, " in UTF-8, pieces of 2048 bytes, about 4 MB in all.
  const std::string word = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, ";
  std::string text;
  std::string expected;
  while (text.size() < 4 * 1024 * 1024) {
    text += word;
    expected += "\xCF\xF0\xE8\xE2\xE5\xF2, ";
  }
  DvdList list;
  play(list, {S("VelmarList"), S("obz")});
  for (std::size_t at = 0; at < text.size(); at += 2048) {
    const std::string piece = text.substr(at, 2048);
    onCharacterData(&list, piece.data(), static_cast<int>(piece.size()));
  }
  play(list, {E("obz")});
  ASSERT_EQ(list.records.size(), 1u);
  EXPECT_TRUE(std::string(list.records[0].obz.data(), list.records[0].obz.size()) == expected);
  EXPECT_EQ(list.text.length(), 0u) << "the commit empties the accumulator";
  // The UTF-8 text took half again as much room; the commit gave that back.
  EXPECT_LE(list.text.capacity(), expected.size() + TextAccumulator::kGrowStep);
}

}  // namespace
}  // namespace velmar
