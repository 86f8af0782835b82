// Palette steps, the screen fades, the sound calls and the random generator.
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
  EXPECT_EQ(std::tuple(working[1], working[2]), std::tuple(6, 9)) << "above its target stays";
}

TEST_F(DisplayTest, AFadeTakes128StepsOver64TicksAndCatchesUpAfterASlowFrame) {
  for (const bool stall : {false, true}) {
    memset(Palette, 255, sizeof Palette);
    int frames = 0;
    backend.onPoll = [&](HeadlessBackend& b) { b.now += stall && ++frames == 3 ? 100 : 0; };
    const uint32_t start = backend.now;
    const uint64_t changes = backend.paletteChanges;
    FadeOut(Palette);
    backend.onPoll = nullptr;
    EXPECT_EQ(std::count(Palette, Palette + kPaletteBytes, 0), kPaletteBytes);
    EXPECT_EQ(std::tuple(backend.paletteChanges - changes, (backend.now - start) / kTickMs,
                         TickHandlerActive),
              std::tuple(128u, 64u, 0));
  }
  for (int i = 0; i < kPaletteBytes; ++i) Palette[i] = static_cast<uint8_t>(i);
  memset(FadePalette, 0, sizeof FadePalette);
  FadeIn();
  EXPECT_EQ(memcmp(backend.colours, Palette, kPaletteBytes), 0);
}

TEST_F(DisplayTest, SoundsPlayAtTwiceTheVolumeOnChannelsCountedFromOne) {
  EXPECT_TRUE(OpenAudio());
  EXPECT_TRUE(AllocateChannels(8));
  SoundHandle s = backend.FakeSound(3);
  for (const auto& [handle, volume, channel] : std::vector<std::tuple<SoundHandle, int, int>>{
           {s, 40, 1}, {s, 5, 8}, {nullptr, 20, 1}, {s, 20, 0}, {s, 20, 9}})
    PlaySound(handle, static_cast<uint8_t>(volume), static_cast<uint8_t>(channel));
  EXPECT_EQ(SoundsPlayed(backend), (SoundLog{{3, 80, 0}, {3, 10, 7}}))
      << "no empty handle, no channel outside 1..8";
  CloseAudio();
  EXPECT_FALSE(backend.audioOpen);
  CloseAudio();  // closing again does nothing
  backend.channelsGranted = 4;
  EXPECT_FALSE(AllocateChannels(8)) << "only eight granted channels count";
}

// (That a seed repeats its draws, and what they are, the recorded runs and replays pin down.)
TEST(RandomTest, NoChoiceOrOneGivesZero) {
  EXPECT_EQ(std::tuple(Random(1), Random(0)), std::tuple(0u, 0u));
}
}  // namespace
