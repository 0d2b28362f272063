// A block's pages are made present a little ahead of use, one system call instead of a page
// fault per page, and never much further: a catalogue must not cost more memory for it. What is
// resident is read back with mincore.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/heap.h"
#include "platform/pages_ahead.h"

namespace velmar::platform {
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
#if !defined(MADV_POPULATE_WRITE)
  return "this system has no call that makes pages present ahead of use";
#else
  auto* const probe = static_cast<char*>(
      mmap(nullptr, 2 * kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  if (probe == MAP_FAILED) return "no memory for a probe";
  // Of two fresh pages only the one written to is resident, if mincore tells the truth here
  // (some emulators report every page resident, or none).
  probe[0] = 'x';
  const bool truthful = residentPages(probe, 2) == std::vector<bool>{true, false};
  const bool supported = madvise(probe + kPage, kPage, MADV_POPULATE_WRITE) == 0;
  // qemu-user answers the call with success and does nothing.
  const bool honoured = supported && residentPages(probe, 2) == std::vector<bool>{true, true};
  munmap(probe, 2 * kPage);
  if (!truthful) return "mincore does not report page residence on this system";
  if (!supported) return "this kernel cannot make pages present ahead of use";
  if (!honoured) return "MADV_POPULATE_WRITE succeeds here but makes no page present (an emulator)";
  std::ifstream hugePages("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string setting;
  if (std::getline(hugePages, setting) && setting.find("[always]") != std::string::npos) {
    return "huge pages are always on: the kernel may back a whole block at its first touch";
  }
  return {};
#endif
}

// A block in use up to a point reached in small unaligned steps, none of them written to: the
// bytes used, and a step or less beyond, are present, in one run from the block's start; nothing
// further is.
TEST(PagesAhead, KeepsTheBlockPresentAStepAheadOfItsUse) {
  const std::string why = whyUnobservable();
  if (!why.empty()) GTEST_SKIP() << why;
  const std::size_t blockSize = 8 * PagesAhead::kStep + 5 * kPage;
  for (const std::size_t used : {std::size_t{1}, std::size_t{100000}, PagesAhead::kStep,
                                 3 * PagesAhead::kStep + 7, blockSize - 10, blockSize}) {
    // A block of fresh pages, none present, as the heap gives a block of megabytes.
    auto* const block = static_cast<char*>(
        mmap(nullptr, blockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(block, MAP_FAILED);
    PagesAhead pages;
    pages.follow(block, blockSize, 0);
    for (std::size_t reached = 0; reached < used;) {
      reached += std::min<std::size_t>(97, used - reached);
      pages.reach(block + reached);
    }
    const long prefix = residentPrefix(block, blockSize);
    EXPECT_GE(prefix, 0) << used << ": the resident pages are not one run from the block's start";
    EXPECT_GE(prefix, static_cast<long>(pagesFor(used))) << used;
    EXPECT_LE(prefix, static_cast<long>(std::min(pagesFor(used + PagesAhead::kStep),
                                                 pagesFor(blockSize))))
        << used;
    munmap(block, blockSize);
  }
}

// The program's large blocks start zero-filled, and keep their bytes through every resize, growing
// past a page and megabytes, or shrinking to one byte.
TEST(ProgramHeap, LargeBlocksKeepTheirBytesThroughResizes) {
  std::size_t size = 4096;
  auto* block = static_cast<unsigned char*>(heapAllocateLarge(size));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::count(block, block + size, 0), static_cast<long>(size));
  const auto byteAt = [&](std::size_t at) { return static_cast<unsigned char>(at * 7 + size); };
  for (const std::size_t next :
       {std::size_t{8192}, std::size_t{3} << 20, std::size_t{12288}, std::size_t{1}}) {
    for (std::size_t at = 0; at < size; ++at) block[at] = byteAt(at);
    auto* const resized = static_cast<unsigned char*>(heapResizeLarge(block, size, next));
    ASSERT_NE(resized, nullptr) << next;
    for (std::size_t at = 0; at < std::min(size, next); ++at)
      ASSERT_EQ(resized[at], byteAt(at)) << next;
    block = resized;
    size = next;
  }
  heapFreeLarge(block, size);
}

}  // namespace
}  // namespace velmar::platform
