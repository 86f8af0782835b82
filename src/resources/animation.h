// The animation loader: the FLI/FLC subset of the game's centre animations, decoded whole into
// separate images at start-up.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mem_reader.h"

constexpr int kAnimImages = 10;  // the size of the frame table
constexpr int kAnimWidth = 78;   // the size the game screen draws
constexpr int kAnimHeight = 48;
constexpr size_t kAnimChunkBufferBytes = 65535;
constexpr size_t kAnimMaxImageBytes = 65535;  // the image size is a 16-bit number

extern uint8_t* AnimFrames[kAnimImages];

struct DecodedAnimation {
  uint16_t width = 0;
  uint16_t height = 0;
  uint32_t imageBytes = 0;  // width x height
  int imageCount = 0;
  uint8_t images[kAnimImages][kAnimMaxImageBytes];
};

// Decodes a whole animation file held in memory into out. With a non-zero needWidth and
// needHeight, another image size is a fault. Never reads or writes outside the given blocks;
// returns false with the fault (including the unsupported-chunk messages).
bool DecodeAnimation(const uint8_t* file, size_t size, int needWidth, int needHeight,
                     DecodedAnimation& out, DecodeFault& fault);

// Decodes the file into the frame table (78 x 48 images) and returns the number of images.
// Every fault stops the program with a message that names the file and the fault.
int LoadAnimation(uint8_t* frames[kAnimImages], const char* fileName);
