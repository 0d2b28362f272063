#include <csignal>

#include "platform/program_entry.h"

int main(int argc, char** argv) {
  // A file-size limit is a write error to report like any other, not a reason to die silently
  // halfway through a book.
  static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));
  return velmar::programMain(argc, argv);
}
