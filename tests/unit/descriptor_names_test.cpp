// A descriptor the program holds, named as the database or the book, is used through itself and
// only the way it is open: one open only for reading is no book, one only for writing no
// database.

#include "platform/posix/descriptor_names.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmar {
namespace {

TEST(HeldDescriptor, IsDuplicatedOnlyTheWayItIsOpen) {
  int ends[2];  // [0] reads, [1] writes
  ASSERT_EQ(pipe(ends), 0);
  struct Case {
    int held;
    bool forWriting;
    bool taken;
  };
  for (const Case c : {Case{ends[0], false, true}, Case{ends[0], true, false},
                       Case{ends[1], true, true}, Case{ends[1], false, false}}) {
    const int duplicate = platform::heldDescriptorFor(c.held, c.forWriting);
    EXPECT_EQ(duplicate >= 3, c.taken)
        << c.held << (c.forWriting ? " for writing" : " for reading");
    if (duplicate >= 0) {
      EXPECT_NE(fcntl(duplicate, F_GETFD) & FD_CLOEXEC, 0) << "not passed on to other programs";
      close(duplicate);
    }
  }
  close(ends[0]);
  close(ends[1]);
}

}  // namespace
}  // namespace velmar
