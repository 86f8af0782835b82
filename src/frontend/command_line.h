// The game's command line: one table of options, one parser. Adding an option is one entry in
// the table (command_line.cpp) and one field here.
#pragma once
#include <string>

struct CommandLineOptions {
  int windowScale = 0;      // --scale N: the window's whole multiple of 640 x 400; 0: the largest
                            // that fits the desktop
  bool fullscreen = false;  // --fullscreen: start in full screen
  std::string replayFile;   // --replay FILE: show the match that file holds instead of playing
  bool host = false;        // --host [PORT]: wait for an online opponent
  std::string joinHost;     // --join HOST[:PORT]: play online against a host that waits
  int port = 0;             // of --host or --join; 0: the default port
};

// The exit status after a bad command line.
constexpr int kUsageStatus = 2;

enum class CommandLineAction { kRun, kHelp, kError };

struct CommandLine {
  CommandLineAction action = CommandLineAction::kRun;
  CommandLineOptions options;
  std::string error;  // kError: what is wrong, naming the argument
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
// What --help prints, and what follows an error.
std::string CommandLineUsage();
