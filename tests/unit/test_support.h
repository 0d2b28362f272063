#pragma once
// Helpers shared by the unit tests: scratch files, whole-file reads, and the book check.

#include <array>
#include <string>
#include <vector>

#include "platform/local_time.h"
#include "reader/dvd_list.h"

namespace velmar::testing {

// The date the golden books carry.
inline constexpr platform::LocalTime kNovemberMorning{2004, 11, 1, 9, 5};

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string path(const std::string& name) const { return root_ + "/" + name; }

 private:
  std::string root_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// A file of the test data directory.
std::string testData(const std::string& relativePath);

// A record's four fields, in the order nameR, nameO, sign, obz, for comparing lists.
using Fields = std::array<std::string, 4>;
std::vector<Fields> recordsOf(const DvdList& list);

// Runs the well-formedness and schema check on a written book; true when it passes. The
// checker prints what it found to standard error.
bool bookPassesSchemaCheck(const std::string& path);

}  // namespace velmar::testing
