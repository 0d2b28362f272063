#pragma once
// The command line: an input and an output file name, each given under one of eight prefixes.

namespace velmar {

struct FileNames {
  const char* input = nullptr;   // points into the argument it came from
  const char* output = nullptr;  // likewise
};

// True, with `destination` pointing just past the prefix, when `argument` starts with `prefix`
// and something follows it. Otherwise false, and `destination` is left alone.
bool matchOption(const char* prefix, const char* argument, const char*& destination);

// Scans the arguments after the program name. Input prefixes are tried before output prefixes,
// a later argument overrides an earlier one, and anything else is ignored.
FileNames parseCommandLine(int argc, const char* const* argv);

// Prints the banner and the usage line.
void showUsage();

}  // namespace velmar
