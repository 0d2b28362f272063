#pragma once
// Keeps the pages of a block that fills from its start present a step ahead of the part in use:
// one system call per step instead of a page fault per page, and never more than a step of
// memory beyond what is used. The stores and a long text each follow their current block so.

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

  // The block is in use up to `used`; the test is all it costs until the present pages run out.
  void reach(char* used) {
    if (used > present_) makePresentAhead(used);
  }

 private:
  void makePresentAhead(char* used);

  char* present_ = nullptr;  // the pages below are present
  char* end_ = nullptr;
};

}  // namespace velmar::platform
