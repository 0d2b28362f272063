// velmar2fb2: converts a DVD-list database into a FictionBook e-book.
//
// Exit status: 0 when the book was written or the usage shown; 1 when a conversion failed (its
// message is on standard output) or a message could not be delivered.

#include "cli/command_line.h"
#include "cli/conversion_run.h"
#include "platform/messages.h"
#include "platform/program_entry.h"

namespace velmar {

int programMain(int argc, char** argv) {
  const FileNames names = parseCommandLine(argc, argv);
  if (names.input == nullptr || names.output == nullptr) {
    showUsage();
    return platform::flushMessages() ? 0 : 1;
  }
  const bool converted = runConversion(names.input, names.output);
  // Messages go to standard output; a full pipe or disk there is not ignored either.
  return (platform::flushMessages() && converted) ? 0 : 1;
}

}  // namespace velmar
