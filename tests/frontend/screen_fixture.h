// A headless stage for the front-end screens: pictures with their own patterns and palettes,
// solid glyphs that tell the characters apart, fake sounds, the game's keys, and scripted steps
// that react to what the running screen is doing.
#pragma once
#include <cctype>
#include <deque>
#include <functional>

#include "../resources/synthetic_data.h"
#include "frontend_common.h"
#include "game_data.h"
#include "keyboard.h"
#include "player.h"
#include "sound.h"
#include "ticks.h"

namespace screens {

constexpr uint8_t kMarkerColour = 210, kMarkerMirrorColour = 211;

// Picture p's palette: no entry is black and every picture differs.
inline std::vector<uint8_t> PictureColours(int p) {
  std::vector<uint8_t> palette(kPaletteBytes);
  for (int i = 0; i < kPaletteBytes; ++i)
    palette[i] = static_cast<uint8_t>(i % 3 == 1 ? 10 * p + 3 : (i / 3) | 1);
  return palette;
}
inline std::vector<uint8_t> PicturePixels(int p, int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = synthetic::Pixel(p, i % width, i / width);
  return pixels;
}

inline bool Running(TickRoutine handler) {
  return TickHandlerActive && TickHandler == handler;
}

// The pictures the screens read (number, width, height) and the keys they use besides letters.
constexpr int kPictures[][3] = {{2, 306, 70},   {17, 640, 400}, {18, 430, 152}, {19, 640, 400},
                                {20, 640, 400}, {21, 212, 307}, {22, 640, 400}};
constexpr std::pair<uint16_t, uint8_t> kKeys[] = {
    {keysym::kEscape, scan::kEscape}, {keysym::kReturn, scan::kReturn},
    {keysym::kSpace, scan::kSpace},   {keysym::kUp, scan::kUp},
    {keysym::kDown, scan::kDown},     {keysym::kLeft, scan::kLeft},
    {keysym::kRight, scan::kRight},   {keysym::kRShift, scan::kRShift}};

class ScreenTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  ScratchDir dir;
  std::vector<std::pair<uint32_t, TickRoutine>> frames;  // time and tick handler, by RecordFrames

  void SetUp() override {
    backend.timeLimitMs = 10u * 60u * 1000u;
    AllocateScreenBuffers();
    for (auto [p, width, height] : kPictures)
      WriteFileBytes(dir.path() / "data" / synthetic::Name("p", p),
                     EncodePcx(PicturePixels(p, width, height).data(), width, height,
                               PictureColours(p).data()));
    pixels_.reserve(64);
    for (int k = 0; k < kGlyphsPerFont; ++k) FontGlyphs[3][k] = Solid(49, 36, 100 + k);
    tileSprite = Solid(150, 50, 200);
    markerSprite = Solid(22, 9, kMarkerColour);
    markerMirrorSprite = Solid(22, 9, kMarkerMirrorColour);
    pixels_.push_back(PicturePixels(2, 306, 70));
    logoSprite = Sprite{pixels_.back().data(), 306, 70};
    memset(ScanMap, 0xFF, sizeof ScanMap);
    for (int s = 1; s < kKeyStateSize; ++s)
      if (const char c = ScancodeToChar(static_cast<uint8_t>(s)); isalnum(c)) ScanMap[int(c)] = s;
    for (auto [sym, code] : kKeys) ScanMap[sym] = code;
    for (int k = 0; k < kSoundCount; ++k) Sounds[k] = backend.FakeSound(k);
    memset(Palette, 0, sizeof Palette);
    backend.onPoll = [this](HeadlessBackend&) {
      while (next_ < steps_.size() && steps_[next_].first()) steps_[next_++].second();
    };
  }
  // A step that waits until its condition holds at an event poll, then acts; steps run in order.
  void When(std::function<bool()> condition, std::function<void()> action) {
    steps_.emplace_back(condition, action);
  }
  bool StepsDone() const { return next_ == steps_.size(); }
  // Once ready: Down or Up held until the selection (AnimCounter) is row, then the key tapped.
  void Select(std::function<bool()> ready, int32_t row, uint16_t sym = keysym::kReturn) {
    When(ready, [this, row] {
      if (row != AnimCounter)
        backend.KeyDown(backend.now, row > AnimCounter ? keysym::kDown : keysym::kUp);
    });
    When([row] { return AnimCounter == row; },
         [this, sym] {
           backend.KeyUp(backend.now, keysym::kDown);
           backend.KeyUp(backend.now, keysym::kUp);
           backend.Tap(backend.now, sym, 120);
         });
  }
  void RecordFrames() {
    backend.onPresent = [this](HeadlessBackend& b) {
      frames.emplace_back(b.now, TickHandlerActive ? TickHandler : nullptr);
    };
  }
  std::vector<uint32_t> FramesUnder(TickRoutine handler) const {
    std::vector<uint32_t> at;
    for (auto [time, h] : frames)
      if (h == handler) at.push_back(time);
    return at;
  }
  SoundLog SoundsPlayed() const { return ::SoundsPlayed(backend); }
  int Plays(int number) const {
    return std::count_if(backend.sounds.begin(), backend.sounds.end(),
                         [number](const auto& s) { return s.number == number; });
  }
  bool DisplayBlack() const {
    return std::all_of(std::begin(backend.colours), std::end(backend.colours),
                       [](uint8_t c) { return c == 0; });
  }

 private:
  std::deque<std::pair<std::function<bool()>, std::function<void()>>> steps_;  // actions add more
  size_t next_ = 0;
  std::vector<std::vector<uint8_t>> pixels_;
  Sprite Solid(int width, int height, int colour) {
    pixels_.emplace_back(static_cast<size_t>(width) * height, static_cast<uint8_t>(colour));
    return Sprite{pixels_.back().data(), width, height};
  }
};

// True when the band of one text line (centred on y, columns x0..x1-1) of a picture is what
// drawing the text onto the background gives there.
inline bool LineShows(const uint8_t* picture, const uint8_t* background, const char* text,
                      int32_t x, int32_t y, int font = 4, int x0 = 0, int x1 = kScreenWidth) {
  std::vector<uint8_t> expected(background, background + kScreenBytes);
  DrawText(expected.data(), text, x, y, font);
  const int half = font == 4 ? 9 : 18;
  for (int row = y - half; row < y + half; ++row)
    if (memcmp(picture + row * kScreenWidth + x0, expected.data() + row * kScreenWidth + x0,
               x1 - x0) != 0)
      return false;
  return true;
}

}  // namespace screens
