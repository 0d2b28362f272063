#pragma once
// Lists and old books for the book file's tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "reader/dvd_list.h"
#include "test_support.h"

namespace velmar::testing {

inline const std::string kOldBook = "an older book, which must survive\n";

// The names in a folder, "." and ".." left out.
inline std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// The list whose book is the golden one_empty_record.fb2.
struct OneEmptyRecord : DvdList {
  OneEmptyRecord() { static_cast<void>(records.add()); }
};
inline std::string oneEmptyRecordBook() {
  return readFile(testData("writer/one_empty_record.fb2"));
}

// A book of several writes: the buffer's worth, then a review too long for the buffer.
inline void fillForSeveralWrites(DvdList& list) {
  const std::string sign = "DVD-0000";
  const std::string title = "A title long enough to fill the buffer soon";
  DvdRecord* record = nullptr;
  for (int i = 0; i < 2000; ++i) {
    record = list.records.add();
    ASSERT_NE(record, nullptr);
    ASSERT_TRUE(list.appendToField(record->sign, sign.data(), sign.size()));
    ASSERT_TRUE(list.appendToField(record->nameO, title.data(), title.size()));
  }
  const std::string review(200 * 1024, 'r');
  ASSERT_TRUE(list.appendToField(record->obz, review.data(), review.size()));
}

}  // namespace velmar::testing
