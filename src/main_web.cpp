// The browser build's entry point: the kept options and high scores are put back over the packed
// ones, then the same main flow as the native game runs on the page.
#include "config_file.h"
#include "highscores.h"
#include "main_flow.h"
#include "web_backend.h"

int main() {
  SetBackend(&WebBackend());
  const KeptFile kept[] = {{kConfigFile, kConfigFileBytes}, {kHighScoreFile, kHighScoreFileBytes}};
  RestoreKeptFiles(kept, 2);
  RunProgram();
}
