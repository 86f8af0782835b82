// The game's entry point: the command line, then the real window, clock and mixer under the
// main flow (or under a replay, or an online session).
#include <cstdio>

#include "command_line.h"
#include "display.h"
#include "main_flow.h"
#include "online.h"
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
  const CommandLineOptions& options = command.options;
  SetSdlWindowOptions(SdlWindowOptions{options.windowScale});
  SetBackend(&SdlBackend());
  Fullscreen = options.fullscreen ? 1 : 0;
  if (!options.replayFile.empty()) RunReplayProgram(options.replayFile.c_str());
  if (options.host || !options.joinHost.empty()) {
    OnlineRequest request;
    request.role = options.host ? NetRole::kHost : NetRole::kJoin;
    request.host = options.joinHost;
    if (options.port) request.port = static_cast<uint16_t>(options.port);
    RunOnlineProgram(request);
  }
  RunProgram();
}
