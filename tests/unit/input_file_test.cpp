// The database file hands out exactly its bytes, whatever the size of the reads and wherever
// they fall against its own buffer.

#include "platform/input_file.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace velmar {
namespace {

using testing::ScratchDir;
using testing::writeFile;

struct ReadCase {
  const char* name;
  std::size_t fileSize;
  std::size_t readSize;
};

class InputFileReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(InputFileReads, HandOutEveryByteOnceInOrder) {
  const ReadCase& c = GetParam();
  std::string bytes(c.fileSize, '\0');
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    bytes[at] = static_cast<char>((at * 7919 + at / 251) & 0xFF);
  }
  ScratchDir dir;
  const std::string path = dir.path("db.xml");
  writeFile(path, bytes);

  platform::InputFile file;
  ASSERT_TRUE(file.open(path.c_str()));
  std::string read;
  std::string chunk(c.readSize, '\0');
  for (;;) {
    const std::size_t count = file.read(&chunk[0], chunk.size());
    read.append(chunk, 0, count);
    // Short only at the end of the file: the reader takes a short read as the last one.
    if (count < chunk.size()) break;
  }
  EXPECT_FALSE(file.failed());
  EXPECT_EQ(read.size(), bytes.size());
  EXPECT_TRUE(read == bytes);
  EXPECT_EQ(file.read(&chunk[0], chunk.size()), 0u) << "nothing after the end";
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, InputFileReads,
    ::testing::Values(ReadCase{"Empty", 0, 2048}, ReadCase{"UnderOneChunk", 100, 2048},
                      ReadCase{"ExactlyOneChunk", 2048, 2048},
                      ReadCase{"ExactlyTheBuffer", 64 * 1024, 2048},
                      ReadCase{"BufferAndOneByte", 64 * 1024 + 1, 2048},
                      ReadCase{"ReadsStraddleTheBuffer", 200 * 1024 + 13, 1000},
                      ReadCase{"ReadsLargerThanTheBuffer", 300 * 1024, 100 * 1024}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmar
