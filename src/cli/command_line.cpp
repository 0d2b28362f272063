#include "cli/command_line.h"

#include <cstring>

#include "platform/messages.h"

namespace velmar {
namespace {

// Tested in this order; mixed-case forms such as -Input= are deliberately absent.
constexpr const char* kInputPrefixes[] = {
    "-i=", "-I=", "-input=", "-INPUT=", "input=", "INPUT=", "i=", "I="};
constexpr const char* kOutputPrefixes[] = {
    "-o=", "-O=", "-output=", "-OUTPUT=", "output=", "OUTPUT=", "o=", "O="};

// True, with `destination` pointing just past the prefix, when `argument` starts with `prefix`
// and something follows it. Otherwise false, and `destination` is left alone.
bool matchOption(const char* prefix, const char* argument, const char*& destination) {
  const std::size_t length = std::strlen(prefix);
  if (std::strncmp(argument, prefix, length) != 0 || argument[length] == '\0') return false;
  destination = argument + length;
  return true;
}

}  // namespace

FileNames parseCommandLine(int argc, const char* const* argv) {
  FileNames names;
  for (int index = 1; index < argc; ++index) {
    const char* argument = argv[index];
    bool taken = false;
    for (const char* prefix : kInputPrefixes) {
      if (!taken) taken = matchOption(prefix, argument, names.input);
    }
    for (const char* prefix : kOutputPrefixes) {
      if (!taken) taken = matchOption(prefix, argument, names.output);
    }
  }
  return names;
}

void showUsage() {
  platform::printMessage(
      " velmar2fb2 1.0, velmar database converter to fb2 format (http://www.fictionbook.org)\n");
  platform::printMessage(" Usage: velmar2fb2 -i=<input fileanme> -o=<output filename>\n");
}

}  // namespace velmar
