// Writers of the data set's file formats, kept next to the readers so tests can round-trip them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kSampleRate = 22050;

// An 8-bit ZSoft PCX: version 5, run-length encoded, one plane, the 256-colour palette at the end.
// Runs stop at the end of each line, as in any PCX. The width must be even: the game reads the
// pixels as one stream ignoring the bytes-per-line field, so the padding byte that a PCX line of
// odd width carries would shift every later row. Every picture of the data set has an even width
// (sprites of odd widths are cut from 320-wide sheets). A bad size is a fatal error.
std::vector<uint8_t> EncodePcx(const uint8_t* pixels, int width, int height,
                               const uint8_t* palette768);

// An FLC animation (magic 0xAF12, depth 8): a 256-colour palette and byte runs in the first
// frame, word-oriented deltas in the later ones, and the loop frame at the end. The width must be
// even (the deltas move whole words). Every frame yields one image chunk, also when unchanged.
std::vector<uint8_t> EncodeFlc(const std::vector<const uint8_t*>& frames, int width, int height,
                               const uint8_t* palette768, uint32_t msPerFrame);

// A WAV file: 22 050 Hz, mono, signed 16-bit little-endian PCM.
std::vector<uint8_t> EncodeWav(const int16_t* samples, size_t count);
