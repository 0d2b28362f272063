#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/database_reader.h"
#include "test_support.h"
#include "program_io.h"

namespace velmar {
namespace {

using testing::Fields;
using testing::recordsOf;

using testing::Handlers;

// The records a database (the elements inside its root) gives through `handlers`.
std::vector<Fields> recordsThrough(Handlers handlers, const std::string& elements) {
  const std::string bytes = "<VelmarDB>" + elements + "</VelmarDB>";
  DvdList list;
  EXPECT_TRUE(testing::parseWhole(handlers, bytes.data(), bytes.size(), list)) << elements;
  return recordsOf(list);
}

struct HandlerCase {
  const char* name;
  std::string elements;
  std::vector<Fields> records;
};

class ElementHandlers : public ::testing::TestWithParam<HandlerCase> {};

// The program's handlers and the reference alike.
TEST_P(ElementHandlers, BuildTheRecords) {
  EXPECT_EQ(recordsThrough(Handlers::Program, GetParam().elements), GetParam().records);
  EXPECT_EQ(recordsThrough(Handlers::Reference, GetParam().elements), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Databases, ElementHandlers,
    ::testing::Values(
        HandlerCase{"FourFields",
                    "<VelmarList><nameR>A</nameR><nameO>B</nameO><sign>C</sign><obz>D</obz>"
                    "</VelmarList>",
                    {{"A", "B", "C", "D"}}},
        HandlerCase{"TwoNameRAppend", "<VelmarList><nameR>A</nameR><nameR>B</nameR></VelmarList>",
                    {{"AB", "", "", ""}}},
        HandlerCase{"TextBeforeAFieldJoinsIt", "<VelmarList>x<sign>S</sign></VelmarList>",
                    {{"", "", "xS", ""}}},
        HandlerCase{"IndentationBeforeTheFirstField",
                    "<VelmarList>\n  <nameR>A</nameR></VelmarList>", {{"  A", "", "", ""}}},
        HandlerCase{"IndentedDatabase",
                    "<root>\n  <VelmarList>\n    <nameR>A</nameR></VelmarList></root>",
                    {{"  \n    A", "", "", ""}}},
        HandlerCase{"OtherElementTextJoinsTheNextField",
                    "<VelmarList><nameR>N</nameR><year>1999</year><sign>S</sign></VelmarList>",
                    {{"N", "", "1999S", ""}}},
        HandlerCase{"SignNestedInNameR", "<VelmarList><nameR>a<sign>b</sign>c</nameR></VelmarList>",
                    {{"", "", "abc", ""}}},
        HandlerCase{"FieldsBeforeTheFirstRecordAreLost",
                    "<nameR>lost</nameR><VelmarList><sign>S</sign></VelmarList>",
                    {{"", "", "S", ""}}},
        HandlerCase{"NamesAreCaseSensitive",
                    "<velmarlist><VELMARLIST><NameR>A</NameR></VELMARLIST></velmarlist>", {}},
        HandlerCase{"LineBreaksSkippedOnlyBeforeATextBegins",
                    "<VelmarList><obz>\r\n\nline1\nline2\n</obz></VelmarList>",
                    {{"", "", "", "line1\nline2\n"}}},
        HandlerCase{"SpacesAndTabsAreKept", "<VelmarList><sign> \tS </sign></VelmarList>",
                    {{"", "", " \tS ", ""}}},
        // The field kind outlives its element and its record.
        HandlerCase{"AnyFieldEndCommitsToTheCurrentKind",
                    "<sign><VelmarList><obz>a</obz></VelmarList><VelmarList>b</VelmarList></sign>",
                    {{"", "", "", "a"}, {"", "", "", "b"}}},
        // Names one byte longer or shorter than a known one, or differing in case, are other
        // elements: no record, no commit, their text joins the next field.
        HandlerCase{"NamesCloseToKnownOnesAreOtherElements",
                    "<VelmarList><nameRx>a</nameRx><name>b</name><Sign>c</Sign><obzz>d</obzz>"
                    "<ob/><VelmarListX/><VelmarLis/><velmarList/><nameo>e</nameo><obz>f</obz>"
                    "</VelmarList>",
                    {{"", "", "", "abcdef"}}},
        // "Привет №" and a reference to the same sign: 16 bytes of UTF-8 or more, which the
        // program's handlers copy from the file's bytes.
        HandlerCase{"CommittedTextIsWindows1251",
                    "<VelmarList><nameR>\xCF\xF0\xE8\xE2\xE5\xF2 \xB9&#8470;</nameR></VelmarList>",
                    {{"\xCF\xF0\xE8\xE2\xE5\xF2 \xB9\xB9", "", "", ""}}}),
    [](const ::testing::TestParamInfo<HandlerCase>& info) { return info.param.name; });

// "Привет, " again and again, about 4 MB: the parser hands it over in many pieces.
TEST(ElementHandlers, FieldMuchLargerThanTheInlineStorageCommitsIntact) {
  std::string text;
  while (text.size() < 4 * 1024 * 1024) text += "\xCF\xF0\xE8\xE2\xE5\xF2, ";
  const std::string bytes = "<VelmarDB><VelmarList><obz>" + text + "</obz></VelmarList></VelmarDB>";
  for (const Handlers handlers : {Handlers::Program, Handlers::Reference}) {
    DvdList list;
    ASSERT_TRUE(testing::parseWhole(handlers, bytes.data(), bytes.size(), list));
    EXPECT_TRUE((recordsOf(list) == std::vector<Fields>{{"", "", "", text}}));
    EXPECT_EQ(list.text.length(), 0u) << "the commit empties the accumulator";
    // The UTF-8 text took half again as much room; the commit gave that back.
    EXPECT_LE(list.text.capacity(), text.size() + TextAccumulator::kGrowStep);
  }
}

}  // namespace
}  // namespace velmar
