// The list's large blocks have their pages made present a little ahead of use, one system call
// instead of a page fault per page, and never much further: a catalogue must not cost more
// memory for it. What is resident is read back with mincore.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/heap.h"
#include "reader/dvd_list.h"

namespace velmar {
namespace {

const std::size_t kPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));

std::size_t pagesFor(std::size_t bytes) { return (bytes + kPage - 1) / kPage; }

// Whether each page of the `pageCount` pages from `start` (page-aligned) is resident.
std::vector<bool> residentPages(const void* start, std::size_t pageCount) {
  std::vector<unsigned char> flags(pageCount);
  if (mincore(const_cast<void*>(start), pageCount * kPage, flags.data()) != 0) return {};
  std::vector<bool> resident(pageCount);
  for (std::size_t page = 0; page < pageCount; ++page) resident[page] = (flags[page] & 1) != 0;
  return resident;
}

// How many pages from the start of the block are resident, or -1 when the resident pages are
// not one run from its start.
long residentPrefix(const void* block, std::size_t blockSize) {
  const std::vector<bool> resident = residentPages(block, pagesFor(blockSize));
  if (resident.empty()) return -1;
  const auto prefix = std::find(resident.begin(), resident.end(), false) - resident.begin();
  if (std::find(resident.begin() + prefix, resident.end(), true) != resident.end()) return -1;
  return static_cast<long>(prefix);
}

// Why residence can't be observed on this system; empty when it can.
std::string whyUnobservable() {
#if defined(__SANITIZE_ADDRESS__)
  return "large blocks come from the C library's heap under AddressSanitizer";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return "large blocks come from the C library's heap under AddressSanitizer";
#endif
#endif
#if !defined(MADV_POPULATE_WRITE)
  return "this system has no call that makes pages present ahead of use";
#else
  void* probe = mmap(nullptr, kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (probe == MAP_FAILED) return "no memory for a probe";
  const bool supported = madvise(probe, kPage, MADV_POPULATE_WRITE) == 0;
  munmap(probe, kPage);
  if (!supported) return "this kernel cannot make pages present ahead of use";
  std::ifstream hugePages("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string setting;
  if (std::getline(hugePages, setting) && setting.find("[always]") != std::string::npos) {
    return "huge pages are always on: the kernel may back a whole block at its first touch";
  }
  return {};
#endif
}

#define SKIP_UNLESS_OBSERVABLE()                          \
  do {                                                    \
    const std::string why = whyUnobservable();            \
    if (!why.empty()) GTEST_SKIP() << why;                \
  } while (false)

struct PrepareCase {
  std::size_t offset;
  std::size_t size;
  const char* what;
};

void PrintTo(const PrepareCase& c, std::ostream* out) { *out << c.what; }

class HeapPrepare : public ::testing::TestWithParam<PrepareCase> {};

// Exactly the pages that hold the asked bytes become present, whatever the alignment, and what
// they held stays.
TEST_P(HeapPrepare, PresentsTheAskedPagesAndKeepsTheirBytes) {
  SKIP_UNLESS_OBSERVABLE();
  const PrepareCase c = GetParam();
  const std::size_t blockSize = 32 * kPage;
  auto* const block = static_cast<char*>(platform::heapAllocateLarge(blockSize));
  ASSERT_NE(block, nullptr);
  block[c.offset] = 'x';  // its page is resident from here on, and in the asked range
  platform::heapPrepareLarge(block + c.offset, c.size);

  const std::vector<bool> resident = residentPages(block, blockSize / kPage);
  ASSERT_EQ(resident.size(), blockSize / kPage);
  for (std::size_t page = 0; page < resident.size(); ++page) {
    const bool asked = page >= c.offset / kPage && page < pagesFor(c.offset + c.size);
    EXPECT_EQ(resident[page], asked) << c.what << ", page " << page;
  }
  EXPECT_EQ(block[c.offset], 'x') << c.what;
  for (std::size_t at = 0; at < blockSize; ++at) {
    if (at != c.offset && block[at] != 0) {
      ADD_FAILURE() << c.what << ": byte " << at << " is not zero";
      break;
    }
  }
  platform::heapFreeLarge(block, blockSize);
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, HeapPrepare,
    ::testing::Values(PrepareCase{0, 1, "one byte at the start"},
                      PrepareCase{0, 4096, "a page at the start"},
                      PrepareCase{3 * 4096 + 5, 2 * 4096, "two pages' worth from within a page"},
                      PrepareCase{4096 - 1, 2, "two bytes across a page boundary"},
                      PrepareCase{10 * 4096, 5 * 4096 + 1, "one byte into a sixth page"},
                      PrepareCase{31 * 4096 + 100, 4096 - 100, "the block's last bytes"}));

// The bytes used, and a kPrepareAhead step or less beyond, are present; nothing further is.
void expectPreparedAhead(const void* block, std::size_t blockSize, std::size_t used,
                         const std::string& what) {
  const long prefix = residentPrefix(block, blockSize);
  ASSERT_GE(prefix, 0) << what << ": the resident pages are not one run from the block's start";
  const auto pages = static_cast<std::size_t>(prefix);
  EXPECT_GE(pages, std::min(pagesFor(used), pagesFor(blockSize))) << what;
  EXPECT_LE(pages, std::min(pagesFor(used + kPrepareAhead), pagesFor(blockSize))) << what;
}

// Small fields carved from one block, none of them written: only the preparation touches it.
TEST(PreparedPages, FieldStoreStaysAStepAheadOfItsFields) {
  SKIP_UNLESS_OBSERVABLE();
  for (const std::size_t used : {std::size_t{1}, std::size_t{100000}, std::size_t{kPrepareAhead},
                                 std::size_t{3 * kPrepareAhead + 7},
                                 FieldStore::kBlockSize - 10}) {
    FieldStore store;
    char* const block = store.allocate(1);
    ASSERT_NE(block, nullptr);
    for (std::size_t carved = 1; carved < used;) {
      const std::size_t count = std::min<std::size_t>(97, used - carved);
      ASSERT_EQ(store.allocate(count), block + carved);
      carved += count;
    }
    expectPreparedAhead(block, FieldStore::kBlockSize, used, std::to_string(used) + " bytes");
  }
}

TEST(PreparedPages, RecordsStayAStepAheadOfTheLastRecord) {
  SKIP_UNLESS_OBSERVABLE();
  for (const std::size_t count : {std::size_t{1}, DvdRecords::kPreparedRecords,
                                  DvdRecords::kPreparedRecords + 1, DvdRecords::kPerBlock - 1}) {
    DvdRecords records;
    for (std::size_t added = 0; added < count; ++added) ASSERT_NE(records.add(), nullptr);
    expectPreparedAhead(&records[0], DvdRecords::kPerBlock * sizeof(DvdRecord),
                        count * sizeof(DvdRecord), std::to_string(count) + " records");
  }
}

// A long text gathered in small pieces: its block (4 MiB by then) is present just past the text.
TEST(PreparedPages, AccumulatorStaysAStepAheadOfItsText) {
  SKIP_UNLESS_OBSERVABLE();
  TextAccumulator text;
  const std::string piece(1000, 'p');
  const std::size_t length = 2 * 1024 * 1024 + 600 * 1000;
  while (text.length() < length) ASSERT_TRUE(text.append(piece.data(), piece.size()));
  ASSERT_TRUE(text.heapOwned());
  ASSERT_GT(text.capacity(), text.length() + 2 * kPrepareAhead);
  // The text is followed by its NUL.
  expectPreparedAhead(text.data(), text.capacity(), text.length() + 1, "the accumulator");
}

}  // namespace
}  // namespace velmar
