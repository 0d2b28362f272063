#include <fcntl.h>

#include <csignal>

#include "platform/program_entry.h"

int main(int argc, char** argv) {
  // Closed standard input, output or error are opened on /dev/null first: otherwise the database,
  // the book or its folder would take their numbers, and messages would be written into them.
  for (int standard = 0; standard <= 2; ++standard) {
    if (fcntl(standard, F_GETFD) < 0 && open("/dev/null", O_RDWR) != standard) return 1;
  }
  // A file-size limit is a write error to report, not a reason to die halfway through a book.
  static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));
  return velmar::programMain(argc, argv);
}
