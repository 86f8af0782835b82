// The browser build's entry point: the kept options, high scores and replays are put back over
// the packed files, then the same main flow as the native game runs on the page.
#include <string>

#include "config_file.h"
#include "highscores.h"
#include "main_flow.h"
#include "replay.h"
#include "web_backend.h"

namespace {
// A stored replay goes back only under a name the game gives and when it reads as a replay.
bool CheckStoredReplay(const std::string& name, const uint8_t* data, size_t size,
                       std::string& why) {
  if (!IsReplayName(name)) {
    why = "not a replay's name";
    return false;
  }
  Replay replay;
  return DecodeReplay(data, size, replay, why);
}
}  // namespace

int main() {
  SetBackend(&WebBackend());
  const KeptFile kept[] = {{kConfigFile, kConfigFileBytes}, {kHighScoreFile, kHighScoreFileBytes}};
  RestoreKeptFiles(kept, 2);
  KeepDirectory(kReplayDirectory, kKeptReplays, CheckStoredReplay);
  RunProgram();
}
