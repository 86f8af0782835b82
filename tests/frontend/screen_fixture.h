// A headless stage for the front-end screens: small pictures of their own patterns and palettes,
// solid glyphs that tell the characters apart, fake sounds, a scan map, and a script that reacts
// to what the running screen is doing.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "../resources/synthetic_data.h"
#include "codecs.h"
#include "display.h"
#include "draw.h"
#include "frontend_common.h"
#include "game_data.h"
#include "keyboard.h"
#include "player.h"
#include "sound.h"
#include "test_support.h"
#include "ticks.h"

namespace screens {

constexpr uint8_t kGlyphColourBase = 100;  // glyph k is solid colour 100 + k
constexpr uint8_t kTileColour = 200, kMarkerColour = 210, kMarkerMirrorColour = 211;

// The palette of picture p: every entry tells the picture apart and no entry is black.
inline std::vector<uint8_t> PictureColours(int p) {
  std::vector<uint8_t> palette(kPaletteBytes);
  for (int i = 0; i < 256; ++i) {
    palette[3 * i] = static_cast<uint8_t>(i | 1);
    palette[3 * i + 1] = static_cast<uint8_t>(10 * p + 3);
    palette[3 * i + 2] = static_cast<uint8_t>(255 - i);
  }
  return palette;
}

inline std::vector<uint8_t> PicturePixels(int p, int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      pixels[static_cast<size_t>(y) * width + x] = synthetic::Pixel(p, x, y);
  return pixels;
}

// The pictures the front-end screens read, with their sizes.
struct ScreenPicture {
  int number, width, height;
};
constexpr ScreenPicture kScreenPictures[] = {{2, 306, 70},   {17, 640, 400}, {18, 430, 152},
                                             {19, 640, 400}, {20, 640, 400}, {21, 212, 307},
                                             {22, 640, 400}};

inline void WriteScreenPictures(const std::filesystem::path& dataDir) {
  for (const ScreenPicture& s : kScreenPictures) {
    const auto pixels = PicturePixels(s.number, s.width, s.height);
    const auto palette = PictureColours(s.number);
    WriteFileBytes(dataDir / synthetic::Name("p", s.number),
                   EncodePcx(pixels.data(), s.width, s.height, palette.data()));
  }
}

// Key symbols to scancodes as the game's scan map has them: letters and digits by the
// character table, and the keys the screens test.
inline void MapKeys() {
  memset(ScanMap, 0xFF, sizeof ScanMap);
  for (int s = 1; s < kKeyStateSize; ++s) {
    const char c = ScancodeToChar(static_cast<uint8_t>(s));
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) ScanMap[static_cast<uint8_t>(c)] = s;
  }
  ScanMap[keysym::kEscape] = scan::kEscape;
  ScanMap[keysym::kReturn] = scan::kReturn;
  ScanMap[keysym::kSpace] = scan::kSpace;
  ScanMap[keysym::kUp] = scan::kUp;
  ScanMap[keysym::kDown] = scan::kDown;
  ScanMap[keysym::kLeft] = scan::kLeft;
  ScanMap[keysym::kRight] = scan::kRight;
  ScanMap[keysym::kLShift] = scan::kLShift;
  ScanMap[keysym::kRShift] = scan::kRShift;
}

// A script of steps: each waits until its condition holds at an event poll, then acts.
class Script {
 public:
  using Condition = std::function<bool()>;
  using Action = std::function<void()>;
  void When(Condition condition, Action action) { steps_.push_back({condition, action}); }
  void Attach(HeadlessBackend& backend) {
    backend.onPoll = [this](HeadlessBackend&) {
      while (next_ < steps_.size() && steps_[next_].first()) steps_[next_++].second();
    };
  }
  bool Done() const { return next_ == steps_.size(); }

 private:
  std::vector<std::pair<Condition, Action>> steps_;
  size_t next_ = 0;
};

inline bool Running(TickRoutine handler) {
  return TickHandlerActive && TickHandler == handler;
}

class ScreenTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  ScratchDir dir;
  Script script;

  void SetUp() override {
    backend.timeLimitMs = 10u * 60u * 1000u;
    AllocateScreenBuffers();
    WriteScreenPictures(dir.path() / "data");
    MakeSprites();
    MapKeys();
    for (int k = 0; k < kSoundCount; ++k) Sounds[k] = backend.FakeSound(k);
    memset(Palette, 0, sizeof Palette);
    memset(FadePalette, 0, sizeof FadePalette);
    script.Attach(backend);
  }

  // Presses a key at once and lets it go once the condition holds.
  void PressUntil(uint16_t sym, Script::Condition done) {
    backend.KeyDown(backend.now, sym);
    script.When(done, [this, sym] { backend.KeyUp(backend.now, sym); });
  }
  void Tap(uint16_t sym, uint32_t holdMs = 30) { backend.Tap(backend.now, sym, holdMs); }

  // The sounds played, as (number, mixer volume, mixer channel).
  std::vector<std::tuple<int, int, int>> SoundsPlayed() const {
    std::vector<std::tuple<int, int, int>> out;
    for (const auto& s : backend.sounds) out.emplace_back(s.number, s.mixerVolume, s.mixerChannel);
    return out;
  }
  int Plays(int number) const {
    int n = 0;
    for (const auto& s : backend.sounds) n += s.number == number;
    return n;
  }
  bool DisplayBlack() const {
    for (uint8_t c : backend.colours)
      if (c) return false;
    return true;
  }

 private:
  std::vector<std::vector<uint8_t>> pixels_;
  Sprite Solid(int width, int height, uint8_t colour) {
    pixels_.emplace_back(static_cast<size_t>(width) * height, colour);
    return Sprite{pixels_.back().data(), width, height};
  }
  void MakeSprites() {
    pixels_.reserve(64);
    for (int k = 0; k < kGlyphsPerFont; ++k)
      FontGlyphs[3][k] = Solid(49, 36, static_cast<uint8_t>(kGlyphColourBase + k));
    tileSprite = Solid(150, 50, kTileColour);
    markerSprite = Solid(22, 9, kMarkerColour);
    markerMirrorSprite = Solid(22, 9, kMarkerMirrorColour);
    pixels_.push_back(PicturePixels(2, 306, 70));
    logoSprite = Sprite{pixels_.back().data(), 306, 70};
  }
};

// A copy of a background with one text drawn on it, to compare regions of a presented frame.
inline std::vector<uint8_t> WithText(const uint8_t* background, const char* text, int32_t x,
                                     int32_t y, int font) {
  std::vector<uint8_t> out(background, background + kScreenBytes);
  DrawText(out.data(), text, x, y, font);
  return out;
}

// True when the rectangle [x0, x1) x [y0, y1) is the same in both 640 x 400 pictures.
inline bool SameRegion(const uint8_t* a, const uint8_t* b, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    if (memcmp(a + y * kScreenWidth + x0, b + y * kScreenWidth + x0, x1 - x0) != 0) return false;
  return true;
}

// The band of one text line in the small font: 18 rows centred on y, across the whole width.
inline bool SameLine(const uint8_t* a, const uint8_t* b, int32_t y, int x0 = 0,
                     int x1 = kScreenWidth) {
  return SameRegion(a, b, x0, y - 9, x1, y + 9);
}

}  // namespace screens
