#pragma once
// The command line: an input and an output file name, each given under one of eight prefixes.

namespace velmar {

struct FileNames {
  // Each points into the argument it came from.
  const char* input = nullptr;
  const char* output = nullptr;
};

// Scans the arguments after the program name. Input prefixes are tried before output prefixes,
// a later argument overrides an earlier one, and anything else is ignored.
FileNames parseCommandLine(int argc, const char* const* argv);

// Prints the banner and the usage line.
void showUsage();

}  // namespace velmar
