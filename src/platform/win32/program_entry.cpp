#include "platform/program_entry.h"

#include <string>
#include <vector>

#include "conversions.h"
#include "live_temporary.h"

// A narrow main would see only what the system's ANSI code page can spell of the arguments.
int wmain(int argc, wchar_t** argv) {
  velmar::platform::output::ownTheEnding();
  std::vector<std::string> arguments;
  for (int index = 0; index < argc; ++index)
    arguments.push_back(velmar::platform::narrow(argv[index]));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(&argument[0]);
  pointers.push_back(nullptr);
  return velmar::programMain(argc, pointers.data());
}
