#include <fcntl.h>

#include <csignal>

#include "platform/program_entry.h"

int main(int argc, char** argv) {
  // Standard input, output and error that were closed are opened on /dev/null before anything
  // else is opened: otherwise the database, the book or its folder would take their numbers, and
  // a message meant for standard output would be written into them.
  for (int standard = 0; standard <= 2; ++standard) {
    if (fcntl(standard, F_GETFD) < 0 && open("/dev/null", O_RDWR) != standard) return 1;
  }
  // A file-size limit is a write error to report like any other, not a reason to die silently
  // halfway through a book.
  static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));
  return velmar::programMain(argc, argv);
}
