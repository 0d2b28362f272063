#include "platform/program_entry.h"

#include <string>
#include <vector>

#include "live_temporary.h"
#include "conversions.h"

// Windows hands the arguments over in UTF-16; a narrow main would see only what the system's
// ANSI code page can spell. The program gets them as UTF-8 instead.
int wmain(int argc, wchar_t** argv) {
  // Before anything else: a run ended at any moment, even while the database is read, ends as
  // the console ends it, and never leaves a temporary file.
  velmar::platform::output::ownTheEnding();
  std::vector<std::string> arguments;
  arguments.reserve(static_cast<std::size_t>(argc));
  for (int index = 0; index < argc; ++index)
    arguments.push_back(velmar::platform::narrow(argv[index]));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(&argument[0]);
  pointers.push_back(nullptr);
  return velmar::programMain(argc, pointers.data());
}
