// All pictures in the master palette: the sheets and small pictures p00..p16, p22 and p23.
#pragma once
#include "canvas.h"
#include "sheet_layout.h"

struct MasterPictures {
  IndexedImage picture[kMasterPictures];  // p00..p16, each at its own size
  IndexedImage menu;                      // p22
  IndexedImage background;                // p23
};

MasterPictures BuildMasterPictures();

// Copies a rectangle of a picture out (as the game's loader cuts sprites).
IndexedImage Cut(const MasterPictures& pictures, const SheetRect& rect);
