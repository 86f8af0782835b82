// Review composites: whole screens composed with the game's own drawing routines, as PNG files.
#pragma once
#include <filesystem>
#include <vector>

#include "canvas.h"
#include "sheets.h"

// Writes game.png, game2.png, chains.png, start.png, start_flash.png, results.png, logo.png (the
// logo alone on the menu picture), logo_dots.png (its dots at the zoom's widest), menu.png,
// options.png, credits.png, help.png, aftergame.png and shapes.png (every link shape at every
// animation step) into dir. Returns false when a file could not be written.
bool WritePreviews(const MasterPictures& pictures, const std::vector<IndexedImage>& animation,
                   const std::filesystem::path& dir);
