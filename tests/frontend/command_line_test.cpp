// The command line: good arguments, and bad ones refused with a message naming them.
#include "command_line.h"

#include "test_support.h"

namespace {
TEST(CommandLineTest, ArgumentsGiveOptionsHelpOrAnError) {
  using enum CommandLineAction;
  const struct {
    std::vector<const char*> args;
    CommandLineAction action;
    int scale;
    bool fullscreen;
    const char* error;  // a part of the message
  } cases[] = {{{}, kRun, 0, false, ""},
               {{"--scale", "1"}, kRun, 1, false, ""},
               {{"--scale=8", "--fullscreen"}, kRun, 8, true, ""},
               {{"--replay", "a.plx", "--scale", "1"}, kRun, 1, false, ""},
               {{"--replay"}, kError, 0, false, "--replay wants a value FILE"},
               {{"--replay="}, kError, 0, false, "--replay wants a file name"},
               {{"--fullscreen", "--scale", "3", "--scale", "2"}, kRun, 2, true, ""},
               {{"--help"}, kHelp, 0, false, ""},
               {{"-h", "--bogus"}, kHelp, 0, false, ""},
               {{"--scale", "0"}, kError, 0, false, "from 1 to 8, not \"0\""},
               {{"--scale", "9"}, kError, 0, false, "\"9\""},
               {{"--scale", "-1"}, kError, 0, false, "\"-1\""},
               {{"--scale", "2x"}, kError, 0, false, "\"2x\""},
               {{"--scale", " 2"}, kError, 0, false, "\" 2\""},
               {{"--scale", "4294967297"}, kError, 0, false, "4294967297"},
               {{"--scale", "12"}, kError, 0, false, "\"12\""},
               {{"--scale="}, kError, 0, false, "\"\""},
               {{"--scale"}, kError, 0, false, "--scale wants a value N"},
               {{"--fullscreen=yes"}, kError, 0, false, "--fullscreen takes no value"},
               {{"--full"}, kError, 0, false, "unknown option \"--full\""},
               {{"--bogus", "--help"}, kError, 0, false, "unknown option \"--bogus\""},
               {{"game.cfg"}, kError, 0, false, "unexpected argument \"game.cfg\""},
               {{""}, kError, 0, false, "unexpected argument \"\""}};
  for (const auto& c : cases) {
    std::vector<const char*> argv{"plonkix"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const CommandLine r = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(std::tuple(r.action, r.options.windowScale, r.options.fullscreen),
              std::tuple(c.action, c.scale, c.fullscreen))
        << testing::PrintToString(c.args);
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
  }
  const char* replay[] = {"plonkix", "--replay", "a.plx"};
  EXPECT_EQ(ParseCommandLine(3, replay).options.replayFile, "a.plx");
  const std::string usage = CommandLineUsage();
  for (const char* option : {"--scale N", "--fullscreen", "--replay FILE", "--help"})
    EXPECT_NE(usage.find(option), std::string::npos) << option;
}
}  // namespace
