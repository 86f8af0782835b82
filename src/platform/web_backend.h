// The backend of the browser build (Emscripten): the picture on the page's canvas, the page's
// key events, the Gamepad API for the joypads, the mouse over the canvas (under Pointer Lock
// while a human plays with it), its clock, Web Audio for the sounds, and the browser's storage
// (IndexedDB) for the files the game saves, so that options, high scores and replays survive a
// reload.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

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

// Whether a stored file may go back into its directory; why tells what is wrong with it.
using KeptFileCheck = bool (*)(const std::string& name, const uint8_t* data, size_t size,
                               std::string& why);

// A directory the game saves files into and prunes itself, kept in the browser's storage too:
// the newest `most` stored files (by name) that check takes are written back into it now, and
// from then on every file the game saves there is stored, the storage keeping only the newest
// `most` of them. Stored names that could lead out of the directory are never written.
void KeepDirectory(const char* path, int most, KeptFileCheck check);
