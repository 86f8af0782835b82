// Palette steps, the screen fades and the sound calls.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "platform.h"
#include "test_support.h"

namespace {
class DisplayTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
};

TEST_F(DisplayTest, PaletteStepsNeverWrapNorOvershoot) {
  uint8_t pal[kPaletteBytes] = {1, 2, 255};
  FadePaletteStep(2, pal);
  EXPECT_EQ(std::vector<uint8_t>(pal, pal + 3), (std::vector<uint8_t>{0, 0, 253}));
  EXPECT_EQ(backend.colours[2], 253) << "the step is shown";

  uint8_t target[kPaletteBytes] = {3, 255}, working[kPaletteBytes] = {0, 0, 9};
  for (uint8_t expected : {2, 3, 3}) {
    FadeInStep(target, working);
    EXPECT_EQ(working[0], expected);
  }
  EXPECT_EQ(working[1], 6);
  EXPECT_EQ(working[2], 9) << "a value above its target stays";
}

TEST_F(DisplayTest, AFadeTakes128StepsOver64Ticks) {
  memset(Palette, 255, sizeof Palette);
  const uint32_t start = backend.now;
  const uint64_t changes = backend.paletteChanges;
  FadeOut(Palette);
  for (uint8_t c : Palette) ASSERT_EQ(c, 0);
  EXPECT_EQ(backend.paletteChanges - changes, 128u);
  EXPECT_EQ((backend.now - start) / kTickMs, 64u);
  EXPECT_EQ(TickHandlerActive, 0);

  for (int i = 0; i < kPaletteBytes; ++i) Palette[i] = static_cast<uint8_t>(i);
  memset(FadePalette, 0, sizeof FadePalette);
  FadeIn();
  EXPECT_EQ(memcmp(FadePalette, Palette, kPaletteBytes), 0);
  EXPECT_EQ(memcmp(backend.colours, Palette, kPaletteBytes), 0);
}

TEST_F(DisplayTest, AFadeCatchesUpAfterASlowFrame) {
  memset(Palette, 255, sizeof Palette);
  int frames = 0;
  backend.onPoll = [&](HeadlessBackend& b) {
    if (++frames == 3) b.now += 100;  // a stall of several ticks
  };
  FadeOut(Palette);
  for (uint8_t c : Palette) ASSERT_EQ(c, 0);
}

TEST_F(DisplayTest, ScreenOpensWithACursorOnlyInAWindowAndShowsTheGivenBuffer) {
  EXPECT_TRUE(OpenScreen());
  EXPECT_TRUE(backend.cursorShown);
  std::vector<uint8_t> frame(kScreenBytes, 7);
  frame[639] = 9;
  PresentFrame(frame.data());
  EXPECT_EQ(backend.PixelAt(639, 0), 9);
  EXPECT_EQ(backend.PixelAt(0, 399), 7);
  backend.videoModeWorks = false;
  EXPECT_FALSE(OpenScreen());
}

TEST_F(DisplayTest, SoundsPlayAtTwiceTheVolumeOnChannelsCountedFromOne) {
  EXPECT_TRUE(OpenAudio());
  EXPECT_TRUE(AllocateChannels(8));
  SoundHandle s = backend.FakeSound(3);
  PlaySound(s, 40, 1);
  PlaySound(s, 5, 8);
  PlaySound(nullptr, 20, 1);  // an empty handle
  PlaySound(s, 20, 0);        // channels that do not exist
  PlaySound(s, 20, 9);
  ASSERT_EQ(backend.sounds.size(), 2u);
  EXPECT_EQ(std::tuple(backend.sounds[0].mixerVolume, backend.sounds[0].mixerChannel),
            std::tuple(80, 0));
  EXPECT_EQ(std::tuple(backend.sounds[1].mixerVolume, backend.sounds[1].mixerChannel),
            std::tuple(10, 7));
  CloseAudio();
  EXPECT_FALSE(backend.audioOpen);
  CloseAudio();  // closing again does nothing
  backend.channelsGranted = 4;
  EXPECT_FALSE(AllocateChannels(8)) << "only eight granted channels count";
  backend.audioWorks = false;
  EXPECT_FALSE(OpenAudio());
}

TEST_F(DisplayTest, RandomStaysInRangeAndRepeatsForASeed) {
  SeedRandom(42);
  uint32_t first[50];
  int seen[6] = {};
  for (auto& v : first) {
    v = Random(6);
    ASSERT_LT(v, 6u);
    ++seen[v];
  }
  for (int s : seen) EXPECT_GT(s, 0);
  SeedRandom(42);
  for (uint32_t v : first) EXPECT_EQ(Random(6), v);
  EXPECT_EQ(Random(1), 0u);
  EXPECT_EQ(Random(0), 0u);
}
}  // namespace
