#pragma once
// Keeps the pages of a block that fills from its start present a step ahead of the part in use:
// one system call per step instead of a page fault per page as the bytes are first written, and
// never more than a step of memory beyond what is used. The record store, the field store and a
// long text each follow their current large block (see heap.h) with one of these.

#include <cstddef>

namespace velmar::platform {

class PagesAhead {
 public:
  // How far ahead of use the pages are made present.
  static constexpr std::size_t kStep = std::size_t{256} * 1024;

  // Follows the `size` bytes at `block`, of which the first `present` are present already:
  // none of a new large block, all of storage that is always there.
  // NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the block's size, then a part of it
  void follow(char* block, std::size_t size, std::size_t present) {
    present_ = block + present;
    end_ = block + size;
  }

  // How many bytes from `block`, the start of the block followed, are present: what a resize
  // that moves the block keeps (it moves the pages, not their bytes).
  std::size_t presentFrom(const char* block) const {
    return static_cast<std::size_t>(present_ - block);
  }

  // The block is in use up to `used`. Once the use passes the present pages, those up to a step
  // beyond it are made present; this test is all the rest of the time costs.
  void reach(char* used) {
    if (used > present_) makePresentAhead(used);
  }

 private:
  void makePresentAhead(char* used);

  char* present_ = nullptr;  // the pages below are present
  char* end_ = nullptr;
};

}  // namespace velmar::platform
