// The picture reader (8-bit run-length PCX with the palette at the end) and sprite cutting.
#pragma once
#include <cstddef>
#include <cstdint>

#include "draw.h"
#include "mem_reader.h"

// Sprite sheets are decoded into the frame buffer and cut with this row stride.
constexpr int kSheetWidth = 320;
constexpr int kSheetHeight = 200;
constexpr size_t kSheetBytes = static_cast<size_t>(kSheetWidth) * kSheetHeight;

// Decodes a whole picture file held in memory into target (width x height bytes, the size the
// caller needs; a picture of another size is a fault). palette768, when not null, receives the
// palette. Never reads or writes outside the given blocks; returns false with the fault.
bool DecodePicture(const uint8_t* file, size_t size, int width, int height, uint8_t* target,
                   uint8_t* palette768, DecodeFault& fault);

// Reads a picture of the given size into target; with setPalette, its palette becomes the
// Palette and is set on the screen. Every fault stops the program with a message that names
// the file and the fault.
void LoadPicture(uint8_t* target, const char* fileName, bool setPalette, int width, int height);

// Loaded pixels live in one store for the whole run; the start-up loader empties it first, so
// loading again reuses it instead of leaking.
uint8_t* AllocateSpriteBytes(size_t count);
void ResetSpriteStore();
size_t SpriteStoreUsed();

// A width x height sprite copied from a 320-wide sheet at the given byte offset.
void CutSprite(const uint8_t* source, uint32_t offset, int32_t width, int32_t height, Sprite& out);
// A sprite holding the given pixels with every row reversed.
void MirrorSprite(const uint8_t* pixels, int32_t width, int32_t height, Sprite& out);
