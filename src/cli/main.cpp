// velmar2fb2: converts a DVD-list database into a FictionBook e-book.
//
// Exit status: 0 when the book was written or the usage text was shown, 1 when a conversion
// was attempted and failed (its message is on standard output).

#include <cstdio>

#include "cli/command_line.h"
#include "cli/conversion_run.h"

int main(int argc, char** argv) {
  const velmar::FileNames names = velmar::parseCommandLine(argc, argv);
  if (names.input == nullptr || names.output == nullptr) {
    velmar::showUsage();
    return 0;
  }
  const bool converted = velmar::runConversion(names.input, names.output);
  // Messages go to standard output; make sure a full pipe or disk there is not ignored either.
  if (std::fflush(stdout) != 0) return 1;
  return converted ? 0 : 1;
}
