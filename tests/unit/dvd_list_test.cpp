#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "heap_failure_scope.h"
#include "reader/dvd_list.h"

namespace velmar {
namespace {

std::string held(const FieldText& field) { return std::string(field.data(), field.size()); }

// A text of `count` bytes that shows where each byte came from.
std::string pattern(std::size_t count, char first = 'a') {
  std::string bytes(count, ' ');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(first + i % 26);
  return bytes;
}

// A huge text going into an empty field is not copied: the accumulator's block becomes the
// field's, so the list never holds it twice.
TEST(DvdList, HugeTextIntoAnEmptyFieldKeepsItsBlock) {
  DvdList list;
  DvdRecord* record = list.records.add();
  ASSERT_NE(record, nullptr);
  const std::string text = pattern(FieldStore::kOwnBlockSize + 5);
  ASSERT_TRUE(list.text.append(text.data(), text.size()));
  const char* const block = list.text.data();
  ASSERT_TRUE(list.commitText(record->obz));
  EXPECT_EQ(record->obz.data(), block);
  EXPECT_TRUE(held(record->obz) == text);
  EXPECT_FALSE(list.text.heapOwned());
  EXPECT_EQ(list.text.length(), 0u);
}

struct CommitCase {
  const char* name;
  std::size_t firstText;
  std::size_t secondText;
};

class DvdListCommit : public ::testing::TestWithParam<CommitCase> {};

// Whatever the sizes, a second text joins the first, and a block large enough to detach is
// not kept by the accumulator afterwards.
TEST_P(DvdListCommit, SecondTextJoinsTheField) {
  const CommitCase& c = GetParam();
  DvdList list;
  DvdRecord* record = list.records.add();
  ASSERT_NE(record, nullptr);
  const std::string first = pattern(c.firstText, 'a');
  const std::string second = pattern(c.secondText, 'A');
  for (const std::string* text : {&first, &second}) {
    ASSERT_TRUE(list.text.append(text->data(), text->size()));
    ASSERT_TRUE(list.commitText(record->sign));
    EXPECT_EQ(list.text.length(), 0u);
    EXPECT_LE(list.text.capacity(), FieldStore::kOwnBlockSize);
  }
  EXPECT_TRUE(held(record->sign) == first + second);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, DvdListCommit,
    ::testing::Values(CommitCase{"SmallThenSmall", 3, 4}, CommitCase{"EmptyThenSmall", 0, 9},
                      CommitCase{"SmallThenHuge", 7, FieldStore::kOwnBlockSize + 1},
                      CommitCase{"HugeThenSmall", FieldStore::kOwnBlockSize, 2},
                      CommitCase{"HugeThenHuge", FieldStore::kBlockSize, FieldStore::kBlockSize}),
    [](const ::testing::TestParamInfo<CommitCase>& info) { return info.param.name; });

// A field committed to again and again (fields interleaved, as a hostile file may have them)
// moves a logarithmic number of times, so such a file still reads in linear time.
TEST(DvdList, RepeatedCommitsMoveAFieldRarely) {
  DvdList list;
  DvdRecord* record = list.records.add();
  ASSERT_NE(record, nullptr);
  std::string expectedR;
  std::string expectedO;
  int moves = 0;
  for (int i = 0; i < 20000; ++i) {
    const char* before = record->nameR.data();
    ASSERT_TRUE(list.appendToField(record->nameR, "ab", 2));
    ASSERT_TRUE(list.appendToField(record->nameO, "xyz", 3));
    expectedR += "ab";
    expectedO += "xyz";
    if (record->nameR.data() != before) ++moves;
  }
  EXPECT_TRUE(held(record->nameR) == expectedR);
  EXPECT_TRUE(held(record->nameO) == expectedO);
  EXPECT_LE(moves, 16);  // 40000 bytes reached by doubling from 2
}

TEST(DvdRecords, RecordsStayPutAcrossBlocks) {
  DvdList list;
  const std::size_t count = DvdRecords::kPerBlock + 3;
  std::vector<const DvdRecord*> places;
  for (std::size_t i = 0; i < count; ++i) {
    DvdRecord* record = list.records.add();
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->nameR.empty() && record->nameO.empty() && record->sign.empty() &&
                record->obz.empty());
    const std::string number = std::to_string(i);
    ASSERT_TRUE(list.appendToField(record->sign, number.data(), number.size()));
    places.push_back(record);
  }
  ASSERT_EQ(list.records.size(), count);
  for (std::size_t index = 0; index < count; ++index) {
    ASSERT_EQ(&list.records[index], places[index]);
    ASSERT_EQ(held(list.records[index].sign), std::to_string(index));
  }
}

TEST(DvdList, OutOfMemoryLeavesFieldsAsTheyWere) {
  DvdList list;
  DvdRecord* record = list.records.add();
  ASSERT_NE(record, nullptr);
  ASSERT_TRUE(list.appendToField(record->nameR, "kept", 4));
  // Larger than what is left of the current shared block.
  const std::string huge = pattern(FieldStore::kBlockSize);
  ASSERT_TRUE(list.text.append(huge.data(), huge.size()));
  {
    platform::HeapFailureScope noMemory(0);
    // A new record block, a field too large for the current block, a huge text joining a field.
    for (std::size_t i = list.records.size(); i <= DvdRecords::kPerBlock; ++i) {
      if (list.records.add() == nullptr) break;
    }
    EXPECT_EQ(list.records.size(), DvdRecords::kPerBlock);
    EXPECT_FALSE(list.appendToField(record->nameO, huge.data(), huge.size()));
    EXPECT_TRUE(record->nameO.empty());
    EXPECT_FALSE(list.commitText(record->nameR));
    EXPECT_EQ(noMemory.refusedCount(), 3);
  }
  EXPECT_TRUE(held(record->nameR) == "kept");
  EXPECT_EQ(list.text.length(), 0u) << "a failed commit empties the accumulator all the same";
}

}  // namespace
}  // namespace velmar
