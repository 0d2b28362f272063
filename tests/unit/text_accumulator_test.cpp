#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "heap_failure_scope.h"
#include "reader/dvd_list.h"

namespace velmar {
namespace {

std::string held(const TextAccumulator& text) { return std::string(text.data(), text.length()); }

// A text of `count` bytes that shows where each byte came from.
std::string pattern(std::size_t count, char first = 'a') {
  std::string bytes(count, ' ');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(first + i % 26);
  return bytes;
}

struct GrowthCase {
  const char* name;
  std::vector<std::size_t> appends;  // sizes of successive appends
  bool heapOwned;
};

class AccumulatorGrowth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(AccumulatorGrowth, KeepsTheTextAndItsNul) {
  const GrowthCase& c = GetParam();
  TextAccumulator text;
  std::string expected;
  char first = 'a';
  for (std::size_t count : c.appends) {
    const std::string bytes = pattern(count, first++);
    ASSERT_TRUE(text.append(bytes.data(), bytes.size()));
    expected += bytes;
  }
  EXPECT_EQ(held(text), expected);
  EXPECT_EQ(text.data()[text.length()], '\0');
  EXPECT_EQ(text.heapOwned(), c.heapOwned);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, AccumulatorGrowth,
    ::testing::Values(GrowthCase{"Nothing", {0}, false},
                      GrowthCase{"InlineFull", {1023}, false},
                      GrowthCase{"InlineFullBytewise", {1000, 22, 1}, false},
                      GrowthCase{"ByteThatMovesToHeap", {1023, 1}, true},
                      GrowthCase{"OneAppendOfTheInlineSize", {1024}, true},
                      GrowthCase{"NeededExactlyOneStep", {4095}, true},
                      GrowthCase{"HeapFullThenResized", {1023, 1, 3071, 1}, true},
                      GrowthCase{"ManySteps", {1023, 1, 5000, 20000, 3}, true}),
    [](const ::testing::TestParamInfo<GrowthCase>& info) { return info.param.name; });

TEST(TextAccumulator, ClearThenAppendHoldsOnlyTheNewBytes) {
  for (std::size_t before : {std::size_t{0}, std::size_t{10}, std::size_t{1023}, std::size_t{9000}}) {
    TextAccumulator text;
    const std::string old = pattern(before);
    ASSERT_TRUE(text.append(old.data(), old.size()));
    const std::uint32_t capacity = text.capacity();
    text.clear();
    ASSERT_TRUE(text.append("ab", 2));
    EXPECT_EQ(text.length(), 2u);
    EXPECT_EQ(std::string(text.data(), 3), std::string("ab\0", 3)) << "after " << before;
    EXPECT_EQ(text.capacity(), capacity) << "clear keeps the storage";
  }
}

TEST(TextAccumulator, ReleaseReturnsToEmptyInlineStorage) {
  TextAccumulator text;
  const std::string big = pattern(5000);
  ASSERT_TRUE(text.append(big.data(), big.size()));
  text.release();
  EXPECT_FALSE(text.heapOwned());
  EXPECT_EQ(text.length(), 0u);
  ASSERT_TRUE(text.append("x", 1));
  EXPECT_EQ(held(text), "x");
}

struct FailureCase {
  const char* name;
  std::size_t heldBefore;
  std::size_t appended;
};

class AccumulatorOutOfMemory : public ::testing::TestWithParam<FailureCase> {};

TEST_P(AccumulatorOutOfMemory, ReportsFailureAndKeepsTheOldText) {
  const FailureCase& c = GetParam();
  TextAccumulator text;
  const std::string old = pattern(c.heldBefore);
  ASSERT_TRUE(text.append(old.data(), old.size()));
  const char* oldData = text.data();
  const std::uint32_t oldCapacity = text.capacity();
  const bool oldHeapOwned = text.heapOwned();
  {
    platform::HeapFailureScope noMemory(0);
    const std::string more = pattern(c.appended, 'A');
    EXPECT_FALSE(text.append(more.data(), more.size()));
    EXPECT_EQ(noMemory.refusedCount(), 1);
  }
  EXPECT_EQ(held(text), old);
  {
    platform::HeapFailureScope noMemory(0);
    EXPECT_EQ(text.extend(c.appended), nullptr) << "room to write in fails alike";
  }
  EXPECT_EQ(held(text), old);
  EXPECT_EQ(text.data()[text.length()], '\0');
  EXPECT_EQ(text.data(), oldData);
  EXPECT_EQ(text.capacity(), oldCapacity);
  EXPECT_EQ(text.heapOwned(), oldHeapOwned);
  // Once memory is back, the same append works.
  ASSERT_TRUE(text.append("z", 1));
  EXPECT_EQ(held(text), old + "z");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AccumulatorOutOfMemory,
    ::testing::Values(FailureCase{"LeavingInlineStorage", 1000, 100},
                      FailureCase{"ResizingHeapBlock", 5000, 4000}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(TextAccumulator, GathersSeveralMegabytesInSmallPieces) {
  TextAccumulator text;
  std::string expected;
  const std::string piece = pattern(2047);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(text.append(piece.data(), piece.size()));
    expected += piece;
  }
  ASSERT_EQ(text.length(), expected.size());
  EXPECT_TRUE(held(text) == expected);
}

// A text gathered in pieces of any size costs linear work and bounded memory: on a heap whose
// resize copies (as most do) the bytes moved add up to at most twice the text, and the storage
// is never more than twice the text and a step.
TEST(TextAccumulator, GatheringTakesLinearWorkAndBoundedMemory) {
  for (const std::size_t size : {1u, 100u, 2047u, 300000u}) {
    TextAccumulator text;
    const std::string piece = pattern(size);
    std::size_t moved = 0;
    while (text.length() < 4 * 1024 * 1024) {
      const std::uint32_t capacity = text.capacity();
      const std::uint32_t length = text.length();
      ASSERT_TRUE(text.append(piece.data(), piece.size()));
      if (text.capacity() != capacity) moved += length;
      ASSERT_LE(text.capacity(), 2 * (text.length() + 1) + TextAccumulator::kGrowStep) << size;
    }
    EXPECT_LE(moved, 2 * text.length()) << size;
  }
}

// A text that would pass the limit of a 32-bit count is refused before any sum is made that
// could wrap, whatever the size_t, and nothing is allocated for it.
TEST(TextAccumulator, RoomPastTheLimitIsRefusedAndTheTextKept) {
  TextAccumulator text;
  ASSERT_TRUE(text.append("abc", 3));
  for (const std::size_t count : {std::size_t{TextAccumulator::kMaxCapacity - 3}, std::size_t{0xFFFFFFFFu}}) {
    EXPECT_EQ(text.extend(count), nullptr) << count;
    EXPECT_EQ(held(text), "abc");
  }
}

TEST(TextAccumulator, TruncateCutsAndKeepsTheNul) {
  TextAccumulator text;
  ASSERT_TRUE(text.append("abcdef", 6));
  text.truncate(10);  // longer than the text: nothing changes
  EXPECT_EQ(held(text), "abcdef");
  text.truncate(2);
  EXPECT_EQ(held(text), "ab");
  EXPECT_EQ(text.data()[2], '\0');
}

// Room written in place and cut back, in the inline storage and across a move to the heap.
TEST(TextAccumulator, ExtendGivesRoomAfterTheTextThenTruncateCutsIt) {
  for (const std::size_t heldBefore : {std::size_t{0}, std::size_t{1000}}) {
    TextAccumulator text;
    const std::string old = pattern(heldBefore);
    ASSERT_TRUE(text.append(old.data(), old.size()));
    char* const room = text.extend(100);
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room, text.data() + heldBefore);
    EXPECT_EQ(text.length(), heldBefore + 100);
    EXPECT_EQ(text.data()[text.length()], '\0');
    std::memcpy(room, "written", 7);
    text.truncate(static_cast<std::uint32_t>(heldBefore + 7));
    EXPECT_EQ(held(text), old + "written") << heldBefore;
  }
}

}  // namespace
}  // namespace velmar
