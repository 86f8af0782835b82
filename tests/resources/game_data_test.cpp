#include "game_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "picture.h"
#include "random.h"
#include "sound.h"
#include "synthetic_data.h"
#include "test_support.h"

namespace {

struct Cut {
  const Sprite* sprite;
  int picture, x, y, width, height;
  bool mirrored = false;
};

// Every cut of the loader, as the sheets lay them out.
std::vector<Cut> ExpectedCuts() {
  std::vector<Cut> e;
  for (int k = 0; k < 11; ++k) e.push_back({&FontGlyphs[2][k], 0, 11 * k, 83, 12, 19});
  for (int k = 0; k < 48; ++k) {
    const int j = k < 25 ? k : k - 25;
    e.push_back({&FontGlyphs[0][k], 0, 1 + 20 * (k % 16), 1 + 17 * (k / 16), 19, 16});
    e.push_back({&FontGlyphs[1][k], 0, 1 + 13 * (k % 24), 55 + 14 * (k / 24), 12, 13});
    e.push_back({&FontGlyphs[3][k], k < 25 ? 1 : 3, 4 + 56 * (j % 5), 1 + 37 * (j / 5), 49, 36});
  }
  for (int k = 0; k < 10; ++k)
    e.push_back({&BeanSprites[1][k], 0, 1 + 34 * (k % 6), k < 6 ? 104 : 133, 33, 28});
  for (int c = 2; c <= 6; ++c)
    for (int n = 0; n <= 58; ++n) {
      int p = c + 2, x = 1 + 34 * n, y = 1;
      if (n >= 6 && n <= 14) x = 1 + 34 * (n - 6), y = 30;
      if (n >= 15 && n <= 38) x = 1 + 34 * ((n - 15) % 8), y = 59 + 29 * ((n - 15) / 8);
      if (n >= 39 && n <= 45) x = 1 + 34 * (n - 39), y = 146;
      if (n >= 46 && n <= 48) x = 205 + 34 * (n - 46), y = 1;
      if (n >= 49) {  // all colours share p09
        const int k = (n - 49) % 5, second = n >= 54;
        const int rowOf[] = {0, 0, 117, 59, 1, 1, 117};
        p = 9, x = (c >= 5 ? 171 : 1) + 34 * k, y = rowOf[c] + 29 * second;
        if (c >= 5 && k == 4) x = c == 5 ? 171 : 205, y = second ? 88 : 59;
      }
      e.push_back({&BeanSprites[c][n], p, x, y, 33, 28});
    }
  const Cut pieces[] = {
      {&FrameTop, 0, 0, 162, 199, 18},           {&FrameBottom, 0, 0, 182, 199, 18},
      {&logoSprite, 2, 0, 0, 306, 70},           {&tileSprite, 3, 169, 149, 150, 50},
      {&markerSprite, 3, 7, 188, 22, 9},         {&ChainPictures[1], 10, 42, 156, 236, 40},
      {&ChainPictures[8], 10, 44, 111, 235, 41}, {&ChainPictures[7], 10, 43, 61, 237, 40},
      {&ChainPictures[6], 10, 60, 11, 200, 41},  {&ChainPictures[2], 11, 27, 4, 230, 34},
      {&ChainPictures[3], 11, 62, 51, 210, 40},  {&ChainPictures[4], 11, 3, 94, 169, 40},
      {&ChainPictures[5], 11, 57, 155, 199, 41}, {&ChainPictures[0], 12, 0, 0, 200, 50},
      {&StartPictures[0], 13, 0, 0, 274, 110},   {&StartPictures[1], 14, 0, 0, 274, 110},
      {&FrameSide, 15, 0, 0, 14, 374},           {&ResultPictures[0], 16, 5, 25, 312, 49},
      {&ResultPictures[1], 16, 5, 81, 310, 52}};
  const Cut mirrors[] = {{&FrameTopMirror, 0, 0, 162, 199, 18, true},
                         {&FrameBottomMirror, 0, 0, 182, 199, 18, true},
                         {&FrameSideMirror, 15, 0, 0, 14, 374, true},
                         {&markerMirrorSprite, 3, 7, 188, 22, 9, true}};
  e.insert(e.end(), std::begin(pieces), std::end(pieces));
  e.insert(e.end(), std::begin(mirrors), std::end(mirrors));
  return e;
}

class GameDataTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  ScratchDir dir;
  void SetUp() override { synthetic::WriteGameData(dir.path() / "data"); }
};

TEST_F(GameDataTest, EverySpriteIsCutFromItsPlace) {
  SeedRandom(7);
  LoadGameData();
  for (const Cut& e : ExpectedCuts()) {
    SCOPED_TRACE(::testing::Message() << "p" << e.picture << " at " << e.x << "," << e.y
                                      << (e.mirrored ? " mirrored" : ""));
    ASSERT_TRUE(e.sprite->pixels && e.sprite->width == e.width && e.sprite->height == e.height);
    int wrong = 0;
    for (int i = 0, w = e.width; i < w * e.height; ++i)
      wrong += e.sprite->pixels[i] !=
               synthetic::Pixel(e.picture, e.x + (e.mirrored ? w - 1 - i % w : i % w), e.y + i / w);
    EXPECT_EQ(wrong, 0);
  }
  for (int n = 10; n < kBeanSpritesPerColour; ++n) EXPECT_EQ(BeanSprites[1][n].pixels, nullptr);
  EXPECT_EQ(session->paletteChanges, 0u);  // no picture sets the palette
}

TEST_F(GameDataTest, PicksOneAnimationAtRandomAndLoadsAgainWithoutGrowing) {
  for (uint64_t seed = 1; seed <= 6; ++seed) {
    SeedRandom(seed);
    const uint32_t pick = Random(3);
    SeedRandom(seed);
    LoadGameData();
    for (int k = 0; k < kAnimImages; ++k) {  // image k of f0n is all 20 n + k + 1
      ASSERT_NE(AnimFrames[k], nullptr);
      EXPECT_EQ(std::vector<uint8_t>(AnimFrames[k], AnimFrames[k] + 78 * 48),
                std::vector<uint8_t>(78 * 48, 20 * pick + k + 1))
          << "seed " << seed << " image " << k;
    }
  }
  const size_t used = SpriteStoreUsed();
  LoadGameData();
  EXPECT_EQ(SpriteStoreUsed(), used);
}

TEST_F(GameDataTest, SoundsLoadInOrderOnlyWithAudio) {
  std::filesystem::remove(dir.DataFile("plonkix.w05"));
  SoundAvailable = 0;
  LoadGameData();
  for (SoundHandle s : Sounds) EXPECT_EQ(s, nullptr);
  SoundAvailable = 1;
  LoadGameData();
  for (int k = 0; k < kSoundCount; ++k) EXPECT_EQ(Sounds[k] == nullptr, k == 5) << k;
  PlaySound(Sounds[17], 30, 2);
  ASSERT_EQ(session->sounds.size(), 1u);
  EXPECT_EQ(session->sounds[0].number, 17);
}

TEST_F(GameDataTest, AnAnimationOfFewerThanTenImagesStopsTheLoad) {
  for (int n = 0; n < 3; ++n)
    WriteFileBytes(dir.DataFile(synthetic::Name("f", n)), synthetic::CountingAnimation(n, 9));
  ExpectFatal([] { LoadGameData(); }, {"data/plonkix.f0", "9 images"});
}

}  // namespace
