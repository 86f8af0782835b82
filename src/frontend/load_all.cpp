#include "load_all.h"

#include "config_file.h"
#include "game_data.h"
#include "highscores.h"
#include "ticks.h"

void LoadAllData() {
  LoadGameData();
  LoadPlayerConfigs();
  LoadHighScores();
  // No key held while loading may reach the intro.
  WaitKeysReleased();
}
