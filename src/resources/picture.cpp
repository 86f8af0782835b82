#include "picture.h"

#include <cstring>
#include <vector>

#include "display.h"
#include "fatal.h"
#include "files.h"
#include "formats.h"

namespace {

// Everything the loader allocates fits with room to spare (about 670 000 bytes).
constexpr size_t kSpriteStoreBytes = 1u << 20;
alignas(16) uint8_t spriteStore[kSpriteStoreBytes];
size_t spriteStoreUsed = 0;

uint16_t HeaderWord(const uint8_t* file, size_t at) {
  return static_cast<uint16_t>(file[at] | (file[at + 1] << 8));
}

}  // namespace

bool DecodePicture(const uint8_t* file, size_t size, int width, int height, uint8_t* target,
                   uint8_t* palette768, DecodeFault& fault) {
  if (!file || size < pcx::kHeaderBytes + pcx::kPaletteBytes) {
    SetFault(fault, "short file (%zu bytes, a picture needs at least %zu)", file ? size : 0,
             pcx::kHeaderBytes + pcx::kPaletteBytes);
    return false;
  }
  const int fileWidth = HeaderWord(file, pcx::kXMaxAt) - HeaderWord(file, pcx::kXMinAt) + 1;
  const int fileHeight = HeaderWord(file, pcx::kYMaxAt) - HeaderWord(file, pcx::kYMinAt) + 1;
  if (fileWidth != width || fileHeight != height) {
    SetFault(fault, "picture is %d x %d, the game needs %d x %d", fileWidth, fileHeight, width,
             height);
    return false;
  }
  const size_t paletteAt = size - pcx::kPaletteBytes;
  MemReader in = MakeReader(file + pcx::kHeaderBytes, paletteAt - pcx::kHeaderBytes,
                            "encoded data ends before the picture is complete");
  const size_t pixels = static_cast<size_t>(width) * height;
  size_t out = 0;
  while (out < pixels) {
    const uint8_t b = ReadU8(in);
    uint32_t count = 1;
    uint8_t value = b;
    if (b >= pcx::kRunFlag) {
      count = b - pcx::kRunFlag;  // a run of 0 writes nothing
      value = ReadU8(in);
    }
    if (!ReaderOk(in)) {
      SetFault(fault, "%s (%zu of %zu pixels)", in.fault, out, pixels);
      return false;
    }
    if (count > pixels - out) count = static_cast<uint32_t>(pixels - out);
    memset(target + out, value, count);
    out += count;
  }
  if (palette768) memcpy(palette768, file + paletteAt, pcx::kPaletteBytes);
  return true;
}

void LoadPicture(uint8_t* target, const char* fileName, bool setPalette, int width, int height) {
  std::vector<uint8_t> file;
  const int error = ReadWholeFile(fileName, file);
  if (error) FatalError("cannot read %s: %s", fileName, strerror(error));
  DecodeFault fault;
  if (!DecodePicture(file.data(), file.size(), width, height, target,
                     setPalette ? Palette : nullptr, fault))
    FatalError("%s: %s", fileName, fault.text);
  if (setPalette) SetPalette(Palette);
}

uint8_t* AllocateSpriteBytes(size_t count) {
  const size_t rounded = (count + 15) & ~static_cast<size_t>(15);
  if (rounded > kSpriteStoreBytes - spriteStoreUsed)
    FatalError("out of sprite memory (%zu bytes wanted, %zu free)", count,
               kSpriteStoreBytes - spriteStoreUsed);
  uint8_t* bytes = spriteStore + spriteStoreUsed;
  spriteStoreUsed += rounded;
  return bytes;
}

void ResetSpriteStore() {
  spriteStoreUsed = 0;
}

size_t SpriteStoreUsed() {
  return spriteStoreUsed;
}

void CutSprite(const uint8_t* source, uint32_t offset, int32_t width, int32_t height, Sprite& out) {
  const uint32_t x = offset % kSheetWidth;
  if (width <= 0 || height <= 0 || x + width > static_cast<uint32_t>(kSheetWidth) ||
      offset + static_cast<size_t>(height - 1) * kSheetWidth + width > kSheetBytes)
    FatalError("sprite %d x %d at offset %u lies outside the sheet", width, height, offset);
  uint8_t* pixels = AllocateSpriteBytes(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y)
    memcpy(pixels + static_cast<size_t>(y) * width,
           source + offset + static_cast<size_t>(y) * kSheetWidth, width);
  out = Sprite{pixels, width, height};
}

void MirrorSprite(const uint8_t* pixels, int32_t width, int32_t height, Sprite& out) {
  uint8_t* mirrored = AllocateSpriteBytes(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * width;
    uint8_t* mirroredRow = mirrored + static_cast<size_t>(y) * width;
    for (int32_t x = 0; x < width; ++x) mirroredRow[x] = row[width - 1 - x];
  }
  out = Sprite{mirrored, width, height};
}
