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
    const char* error;        // a part of the message
    const char* online = "";  // what was asked of online play: "host PORT" or "join HOST PORT"
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
               {{""}, kError, 0, false, "unexpected argument \"\""},
               {{"--host"}, kRun, 0, false, "", "host 0"},
               {{"--host", "9000", "--scale", "2"}, kRun, 2, false, "", "host 9000"},
               {{"--host", "--scale", "2"}, kRun, 2, false, "", "host 0"},
               {{"--host=65535"}, kRun, 0, false, "", "host 65535"},
               {{"--host", "65536"}, kError, 0, false, "port from 1 to 65535, not \"65536\""},
               {{"--host", "0"}, kError, 0, false, "\"0\""},
               {{"--host", "12x"}, kError, 0, false, "\"12x\""},
               {{"--host", "-1"}, kError, 0, false, "unknown option \"-1\""},
               {{"--join", "example.org"}, kRun, 0, false, "", "join example.org 0"},
               {{"--join", "10.0.0.7:9000"}, kRun, 0, false, "", "join 10.0.0.7 9000"},
               {{"--join=a-b_c:1"}, kRun, 0, false, "", "join a-b_c 1"},
               {{"--join"}, kError, 0, false, "--join wants a value"},
               {{"--join", "host:"}, kError, 0, false, "not \"host:\""},
               {{"--join", "host:0"}, kError, 0, false, "not \"host:0\""},
               {{"--join", ":7457"}, kError, 0, false, "not \":7457\""},
               {{"--join", "a:1:2"}, kError, 0, false, "not \"a:1:2\""},
               {{"--join", "two words"}, kError, 0, false, "not \"two words\""},
               {{"--host", "--join", "h"}, kError, 0, false, "exclude each other"},
               {{"--join", "h", "--replay", "a.plx"}, kError, 0, false, "exclude each other"}};
  for (const auto& c : cases) {
    std::vector<const char*> argv{"plonkix"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const CommandLine r = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(std::tuple(r.action, r.options.windowScale, r.options.fullscreen),
              std::tuple(c.action, c.scale, c.fullscreen))
        << testing::PrintToString(c.args);
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
    const CommandLineOptions& o = r.options;
    const std::string port = " " + std::to_string(o.port);
    EXPECT_EQ(o.host               ? "host" + port
              : o.joinHost.empty() ? ""
                                   : "join " + o.joinHost + port,
              c.online)
        << testing::PrintToString(c.args);
  }
  const char* replay[] = {"plonkix", "--replay", "a.plx"};
  EXPECT_EQ(ParseCommandLine(3, replay).options.replayFile, "a.plx");
  const std::string usage = CommandLineUsage();
  for (const char* option : {"--scale N", "--fullscreen", "--replay FILE", "--host [PORT]",
                             "--join HOST[:PORT]", "--help"})
    EXPECT_NE(usage.find(option), std::string::npos) << option;
}
}  // namespace
