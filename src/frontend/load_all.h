// The start-up loader: every data file, the options and the high scores.
#pragma once

// Reads the pictures, sprites, fonts, one animation and the sounds, then the configuration and
// high-score files, and waits until no key is held. Any fault stops the program with a message.
void LoadAllData();
