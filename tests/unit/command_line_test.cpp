#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command_line.h"

namespace velmar {
namespace {

struct CommandLineCase {
  const char* name;
  std::vector<const char*> arguments;  // after the program name
  const char* input;                   // null: not set
  const char* output;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, FindsTheFileNames) {
  const CommandLineCase& c = GetParam();
  std::vector<const char*> argv = {"velmar2fb2"};
  argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
  const FileNames names = parseCommandLine(static_cast<int>(argv.size()), argv.data());
  EXPECT_STREQ(names.input, c.input);
  EXPECT_STREQ(names.output, c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    ::testing::Values(
        CommandLineCase{"Nothing", {}, nullptr, nullptr},
        CommandLineCase{"ShortDash", {"-i=a", "-o=b"}, "a", "b"},
        CommandLineCase{"ShortDashUpper", {"-I=a", "-O=b"}, "a", "b"},
        CommandLineCase{"LongDash", {"-input=a", "-output=b"}, "a", "b"},
        CommandLineCase{"LongDashUpper", {"-INPUT=a", "-OUTPUT=b"}, "a", "b"},
        CommandLineCase{"Long", {"input=a", "output=b"}, "a", "b"},
        CommandLineCase{"LongUpper", {"INPUT=a", "OUTPUT=b"}, "a", "b"},
        CommandLineCase{"Short", {"i=a", "o=b"}, "a", "b"},
        CommandLineCase{"ShortUpper", {"I=a", "O=b"}, "a", "b"},
        CommandLineCase{"OutputFirst", {"-o=b", "-i=a"}, "a", "b"},
        CommandLineCase{"EmptyValueIgnored", {"-i=", "-o="}, nullptr, nullptr},
        CommandLineCase{"EmptyValueKeepsEarlierName", {"-i=a", "-i="}, "a", nullptr},
        CommandLineCase{"LaterWins", {"-i=a", "-i=c", "-o=b", "O=d"}, "c", "d"},
        CommandLineCase{"MixedCaseNotRecognised", {"-Input=a", "-Output=b"}, nullptr, nullptr},
        CommandLineCase{"InputPrefixesFirst", {"i=-o=x", "-o=b"}, "-o=x", "b"},
        CommandLineCase{"UnknownIgnored", {"--help", "x", "-i", "=a", "-o=b"}, nullptr, "b"},
        CommandLineCase{"ValueKeepsLaterEquals", {"-i=a=b"}, "a=b", nullptr},
        // "input=" leaves nothing, but "i=" after the "-" does not match either: only whole
        // prefixes at the start count.
        CommandLineCase{"PrefixMustStartTheArgument", {"x-i=a"}, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return info.param.name; });

TEST(ShowUsage, PrintsTheBannerAndUsageLine) {
  ::testing::internal::CaptureStdout();
  showUsage();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            " velmar2fb2 1.0, velmar database converter to fb2 format (http://www.fictionbook.org)\n"
            " Usage: velmar2fb2 -i=<input fileanme> -o=<output filename>\n");
}

}  // namespace
}  // namespace velmar
