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

// What follows the first of `prefixes` that `argument` starts with, if anything follows it.
const char* valueAfter(const char* const (&prefixes)[8], const char* argument) {
  for (const char* prefix : prefixes) {
    const std::size_t length = std::strlen(prefix);
    if (std::strncmp(argument, prefix, length) == 0 && argument[length] != '\0') {
      return argument + length;
    }
  }
  return nullptr;
}

}  // namespace

FileNames parseCommandLine(int argc, const char* const* argv) {
  FileNames names;
  for (int index = 1; index < argc; ++index) {
    if (const char* input = valueAfter(kInputPrefixes, argv[index])) {
      names.input = input;
    } else if (const char* output = valueAfter(kOutputPrefixes, argv[index])) {
      names.output = output;
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
