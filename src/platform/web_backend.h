// The backend of the browser build (Emscripten): the picture on the page's canvas, the page's
// key events, its clock, Web Audio for the sounds, and the browser's storage (IndexedDB) for the
// files the game saves, so that options and high scores survive a reload.
#pragma once
#include <cstddef>

#include "backend.h"

Backend& WebBackend();

// A file the game saves, with the exact size the game reads back.
struct KeptFile {
  const char* path;
  size_t bytes;
};

// Puts the copies kept in the browser's storage over the packed files, before the game reads
// them. A stored copy of another size is left out (the packed file stays) with a note on the
// console; the game's own loader checks the contents as it checks every file.
void RestoreKeptFiles(const KeptFile* files, int count);
