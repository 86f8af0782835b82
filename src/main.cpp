// The game's entry point: the command line, then the real window, clock and mixer under the
// main flow (or under a replay).
#include <cstdio>

#include "command_line.h"
#include "display.h"
#include "main_flow.h"
#include "sdl_backend.h"

int main(int argc, char** argv) {
  const CommandLine command = ParseCommandLine(argc, argv);
  if (command.action == CommandLineAction::kHelp) {
    fputs(CommandLineUsage().c_str(), stdout);
    return 0;
  }
  if (command.action == CommandLineAction::kError) {
    fprintf(stderr, "plonkix: %s\n%s", command.error.c_str(), CommandLineUsage().c_str());
    return kUsageStatus;
  }
  SetSdlWindowOptions(SdlWindowOptions{command.options.windowScale});
  SetBackend(&SdlBackend());
  Fullscreen = command.options.fullscreen ? 1 : 0;
  if (!command.options.replayFile.empty()) RunReplayProgram(command.options.replayFile.c_str());
  RunProgram();
}
