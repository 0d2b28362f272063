#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace velmar::testing {

ScratchDir::ScratchDir() {
  // A random name, taken only if no one has it yet (create_directory is false when it exists).
  std::random_device seed;
  std::mt19937_64 names(seed());
  const std::filesystem::path temporary = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = temporary / ("velmar-test-" + std::to_string(names()));
    if (std::filesystem::create_directory(candidate)) {
      root_ = candidate.generic_string();
      return;
    }
  }
  throw std::runtime_error("cannot make a scratch directory in " + temporary.string());
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool fileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

std::string testData(const std::string& relativePath) {
  return std::string(VELMAR_TEST_DATA) + "/" + relativePath;
}

std::vector<Fields> recordsOf(const DvdList& list) {
  std::vector<Fields> records;
  for (std::size_t index = 0; index < list.records.size(); ++index) {
    const DvdRecord& r = list.records[index];
    records.push_back({std::string(r.nameR.data(), r.nameR.size()),
                       std::string(r.nameO.data(), r.nameO.size()),
                       std::string(r.sign.data(), r.sign.size()),
                       std::string(r.obz.data(), r.obz.size())});
  }
  return records;
}

bool bookPassesSchemaCheck(const std::string& path) {
  const std::string command = std::string("'") + VELMAR_CHECK_BOOK + "' '" + VELMAR_TEST_DATA +
                              "/fb2-schema' '" + path + "'";
  return std::system(command.c_str()) == 0;
}

}  // namespace velmar::testing
