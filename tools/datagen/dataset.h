// The whole data set: every picture drawn once, then written as the game's files.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "parts.h"
#include "sheets.h"

constexpr int kFirstOwnPalettePicture = 17;  // p17..p21 carry palettes of their own
constexpr int kOwnPalettePictures = 5;

struct DataSet {
  MasterPictures master;                         // p00..p16, p22, p23
  PaletteImage ownPalette[kOwnPalettePictures];  // p17..p21
  std::vector<IndexedImage> animation[3];        // f00..f02
};

DataSet BuildDataSet();

// "plonkix.p07" and the like.
std::string DataFileName(char kind, int number);

// Writes the 50 files into dataDir (created if missing). plonkix.cfg and plonkix.hig are only
// written when missing. Returns false, after a message on stderr, when a file cannot be written.
bool WriteDataSet(const DataSet& data, const std::filesystem::path& dataDir);

// One PNG showing every picture, sheet and animation in its real palette, labelled.
bool WriteContactSheet(const DataSet& data, const std::string& file);
