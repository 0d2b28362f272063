#pragma once
// The command line: an input and an output file name, each given under one of eight prefixes.

namespace velmar {

struct FileNames {
  const char* input = nullptr;   // points into the argument it came from
  const char* output = nullptr;  // likewise
};

// Scans the arguments after the program name. Input prefixes are tried before output prefixes,
// a later argument overrides an earlier one, and anything else is ignored.
FileNames parseCommandLine(int argc, const char* const* argv);

// Prints the banner and the usage line.
void showUsage();

}  // namespace velmar
