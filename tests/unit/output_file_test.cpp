// The book file: a failure at any step leaves the old book as it was and nothing of the new one;
// modes, hard links, symbolic links and read-only books are treated as the user would expect.

#include "output_fault_scope.h"
#include "platform/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include "book_fixtures.h"
#include "program_io.h"
#include "test_support.h"
#include "writer/fiction_book_writer.h"

namespace velmar {
namespace {

using platform::OutputFaultScope;
using platform::OutputStep;
using testing::fileExists;
using testing::fillForSeveralWrites;
using testing::kNovemberMorning;
using testing::kOldBook;
using testing::namesIn;
using testing::OneEmptyRecord;
using testing::oneEmptyRecordBook;
using testing::readFile;
using testing::ScratchDir;
using testing::testData;
using testing::writeFile;

mode_t modeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode;
}

// -1 stands for "no old book".
struct ModeCase {
  const char* name;
  int oldMode;
  mode_t mask;
  mode_t expected;
};

class BookMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(BookMode, NewBookFollowsTheUmaskReplacedBookKeepsItsMode) {
  const ModeCase& c = GetParam();
  ScratchDir dir;
  const std::string book = dir.path("book.fb2");
  if (c.oldMode >= 0) {
    writeFile(book, kOldBook);
    ASSERT_EQ(chmod(book.c_str(), static_cast<mode_t>(c.oldMode)), 0);
  }
  const mode_t previousMask = umask(c.mask);
  const bool written = testing::writeBook(book.c_str(), OneEmptyRecord(), kNovemberMorning);
  umask(previousMask);
  ASSERT_TRUE(written);
  EXPECT_EQ(readFile(book), oneEmptyRecordBook());
  EXPECT_EQ(modeOf(book) & 07777, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, BookMode,
                         ::testing::Values(ModeCase{"NewUnderUmask027", -1, 027, 0640},
                                           ModeCase{"NewUnderUmask002", -1, 002, 0664},
                                           ModeCase{"Replaced0640", 0640, 022, 0640},
                                           ModeCase{"Replaced0604UnderUmask027", 0604, 027, 0604}),
                         [](const ::testing::TestParamInfo<ModeCase>& info) {
                           return info.param.name;
                         });

TEST(BookLinks, HardLinkedBookIsRewrittenWhereItStands) {
  ScratchDir dir;
  const std::string book = dir.path("book.fb2");
  const std::string other = dir.path("other-name.fb2");
  writeFile(book, kOldBook);
  ASSERT_EQ(link(book.c_str(), other.c_str()), 0);
  struct stat before {};
  ASSERT_EQ(stat(book.c_str(), &before), 0);

  ASSERT_TRUE(testing::writeBook(book.c_str(), OneEmptyRecord(), kNovemberMorning));
  struct stat after {};
  ASSERT_EQ(stat(book.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 2U);
  EXPECT_EQ(readFile(book), oneEmptyRecordBook());
  EXPECT_EQ(readFile(other), oneEmptyRecordBook());
  EXPECT_EQ(namesIn(dir.path(".")), (std::set<std::string>{"book.fb2", "other-name.fb2"}));
}

// The link lives in one folder, the book it names in another: the new book must be made and
// renamed beside the book, and the link left a link, whether writing succeeds or fails.
TEST(BookLinks, SymlinkedBookStaysALinkItsTargetReplacedOrKept) {
  for (const bool fail : {false, true}) {
    SCOPED_TRACE(fail ? "a failing write" : "a good write");
    ScratchDir dir;
    ASSERT_EQ(mkdir(dir.path("books").c_str(), 0755), 0);
    const std::string target = dir.path("books/real.fb2");
    const std::string link = dir.path("link.fb2");
    writeFile(target, kOldBook);
    ASSERT_EQ(symlink("books/real.fb2", link.c_str()), 0);

    ::testing::internal::CaptureStdout();
    bool written = false;
    {
      const OutputFaultScope fault(OutputStep::Write, fail ? 1 : 1000);
      written = testing::writeBook(link.c_str(), OneEmptyRecord(), kNovemberMorning);
    }
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(written, !fail);
    EXPECT_EQ(printed, fail ? "Can't write output file [" + link + "]\n" : "");
    EXPECT_TRUE(S_ISLNK(modeOf(link)));
    EXPECT_EQ(readFile(target), fail ? kOldBook : oneEmptyRecordBook());
    EXPECT_EQ(namesIn(dir.path(".")), (std::set<std::string>{"books", "link.fb2"}));
    EXPECT_EQ(namesIn(dir.path("books")), std::set<std::string>{"real.fb2"});
  }
}

// What the name led to when the book was prepared is where it goes, whatever happens to the
// name meanwhile: the folder renamed, or the name made a link to another file.
TEST(BookLinks, WhatTheNameLedToWhenPreparedIsWhereTheBookGoes) {
  for (const bool oldBook : {false, true}) {
    SCOPED_TRACE(oldBook ? "over an old book" : "a new book");
    ScratchDir dir;
    ASSERT_EQ(mkdir(dir.path("books").c_str(), 0755), 0);
    const std::string book = dir.path("books/book.fb2");
    if (oldBook) writeFile(book, kOldBook);
    writeFile(dir.path("elsewhere.xml"), "someone else's file");

    platform::OutputFile out;
    ASSERT_TRUE(out.prepare(book.c_str()));
    ASSERT_EQ(rename(dir.path("books").c_str(), dir.path("moved").c_str()), 0);
    ASSERT_EQ(mkdir(dir.path("books").c_str(), 0755), 0);
    ASSERT_EQ(symlink("../elsewhere.xml", book.c_str()), 0);
    ASSERT_TRUE(writeFictionBook(out, book.c_str(), OneEmptyRecord(), kNovemberMorning));

    EXPECT_EQ(readFile(dir.path("moved/book.fb2")), oneEmptyRecordBook());
    EXPECT_EQ(namesIn(dir.path("moved")), std::set<std::string>{"book.fb2"});
    EXPECT_EQ(readFile(dir.path("elsewhere.xml")), "someone else's file");
    EXPECT_TRUE(S_ISLNK(modeOf(book)));
  }
}

// Root may write anything; permissions only mean something to an ordinary user. As root the
// checks run as "nobody" for a while, in a scratch folder "nobody" may write to as well (so that
// only the permission under test can stop the program).
class ActingUnprivileged {
 public:
  explicit ActingUnprivileged(const std::string& scratchRoot) {
    if (geteuid() != 0) return;
    active_ =
        chmod(scratchRoot.c_str(), 0777) == 0 && setegid(kNobody) == 0 && seteuid(kNobody) == 0;
  }
  ~ActingUnprivileged() {
    if (active_) {
      static_cast<void>(seteuid(0));
      static_cast<void>(setegid(0));
    }
  }
  ActingUnprivileged(const ActingUnprivileged&) = delete;
  ActingUnprivileged& operator=(const ActingUnprivileged&) = delete;
  bool ok() const { return active_ || geteuid() != 0; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool active_ = false;
};

TEST(BookPermissions, ReadOnlyBookIsRefusedAndUntouched) {
  ScratchDir dir;
  const std::string book = dir.path("book.fb2");
  writeFile(book, kOldBook);
  ASSERT_EQ(chmod(book.c_str(), 0444), 0);

  ::testing::internal::CaptureStdout();
  bool written = true;
  {
    const ActingUnprivileged user(dir.path("."));
    ASSERT_TRUE(user.ok());
    written = testing::writeBook(book.c_str(), OneEmptyRecord(), kNovemberMorning);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Can't open output file [" + book + "]\n");
  EXPECT_FALSE(written);
  EXPECT_EQ(readFile(book), kOldBook);
  EXPECT_EQ(modeOf(book) & 07777, 0444U);
  EXPECT_EQ(namesIn(dir.path(".")), std::set<std::string>{"book.fb2"});
}

// No temporary file can be made beside the book, but the book itself may be written: it is
// written in place, as a book always was.
TEST(BookPermissions, WritableBookInLockedFolderIsWrittenInPlace) {
  ScratchDir dir;
  ASSERT_EQ(mkdir(dir.path("locked").c_str(), 0755), 0);
  const std::string book = dir.path("locked/book.fb2");
  writeFile(book, kOldBook);
  ASSERT_EQ(chmod(book.c_str(), 0666), 0);
  ASSERT_EQ(chmod(dir.path("locked").c_str(), 0555), 0);
  struct stat before {};
  ASSERT_EQ(stat(book.c_str(), &before), 0);

  bool written = false;
  {
    const ActingUnprivileged user(dir.path("."));
    ASSERT_TRUE(user.ok());
    written = testing::writeBook(book.c_str(), OneEmptyRecord(), kNovemberMorning);
  }
  chmod(dir.path("locked").c_str(), 0755);
  EXPECT_TRUE(written);
  struct stat after {};
  ASSERT_EQ(stat(book.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(readFile(book), oneEmptyRecordBook());
  EXPECT_EQ(namesIn(dir.path("locked")), std::set<std::string>{"book.fb2"});
}

}  // namespace
}  // namespace velmar
