// Whole-file reads for the loaders and the atomic replacement of the files the game writes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kMaxDataFileBytes = 16u << 20;  // far above any file of the data set

// Reads the whole file into out with one block read. Returns 0, or the errno value of the
// failure (EFBIG for a file above maxBytes, EISDIR for something not a plain file).
int ReadWholeFile(const char* path, std::vector<uint8_t>& out, size_t maxBytes = kMaxDataFileBytes);

// Reads exactly size bytes from the start of the file (a longer file is fine). Returns 0, the
// errno value of the failure, or -1 when the file holds fewer bytes; got tells how many.
int ReadFileStart(const char* path, uint8_t* out, size_t size, size_t& got);

enum class SaveResult { kSaved, kCannotCreate, kWriteFailed };
// Replaces path by the given bytes so that a crash, a full disk or a power cut leaves either the
// old or the new file: writes "<path>.tmp" beside it, flushes it to disk and renames it over.
// kCannotCreate: the temporary file could not be made, nothing changed. kWriteFailed: writing,
// flushing, closing or renaming failed; the temporary file is removed, the old file is intact.
// error receives the errno value of the failure.
SaveResult WriteFileAtomically(const char* path, const void* data, size_t size, int& error);
