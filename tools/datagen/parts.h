// The parts of the data set that are written by their own modules; main.cpp puts them together.
#pragma once
#include <filesystem>

#include "canvas.h"

// A full-screen or stand-alone picture with a palette of its own.
struct PaletteImage {
  IndexedImage image;
  PaletteData palette;
};

// Intro and exit pictures (each shown alone, so each has its own palette).
PaletteImage DrawTitlePicture();           // p18, 430 x 152
PaletteImage DrawStripPicture(int which);  // p19 (0) and p20 (1), 640 x 400
PaletteImage DrawClosingPicture();         // p21, 212 x 307
PaletteImage DrawExitPicture();            // p17, 640 x 400

// The 20 sound effects, data/plonkix.w00 .. w19.
void WriteSounds(const std::filesystem::path& dataDir);
// data/scanmap: SDL 1.2 key symbol -> PC set-1 scancode.
void WriteScanMap(const std::filesystem::path& dataDir);
// data/plonkix.cfg and data/plonkix.hig with their starting contents; an existing file is kept,
// so a rebuild never loses a player's options or scores.
void WriteStartingConfig(const std::filesystem::path& dataDir);
void WriteStartingHighScores(const std::filesystem::path& dataDir);
