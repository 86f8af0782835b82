#include "game_data.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "picture.h"
#include "random.h"
#include "sound.h"
#include "synthetic_data.h"
#include "test_support.h"

namespace {

struct Expect {
  const Sprite* sprite;
  int picture, x, y, width, height;
  std::string what;
};

// Every cut of the loader, as the sheets lay them out.
std::vector<Expect> ExpectedCuts() {
  std::vector<Expect> e;
  auto add = [&](const Sprite& s, int p, int x, int y, int w, int h, std::string what) {
    e.push_back({&s, p, x, y, w, h, what});
  };
  for (int k = 0; k < 11; ++k)
    add(FontGlyphs[2][k], 0, 11 * k, 83, 12, 19, "font 2 glyph " + std::to_string(k));
  for (int k = 0; k < 48; ++k) {
    add(FontGlyphs[0][k], 0, 1 + 20 * (k % 16), 1 + 17 * (k / 16), 19, 16,
        "font 0 glyph " + std::to_string(k));
    add(FontGlyphs[1][k], 0, 1 + 13 * (k % 24), 55 + 14 * (k / 24), 12, 13,
        "font 1 glyph " + std::to_string(k));
    const int j = k < 25 ? k : k - 25;
    add(FontGlyphs[3][k], k < 25 ? 1 : 3, 4 + 56 * (j % 5), 1 + 37 * (j / 5), 49, 36,
        "font 3 glyph " + std::to_string(k));
  }
  for (int k = 0; k < 10; ++k)
    add(BeanSprites[1][k], 0, 1 + 34 * (k < 6 ? k : k - 6), k < 6 ? 104 : 133, 33, 28,
        "black bean " + std::to_string(k));
  add(FrameTop, 0, 0, 162, 199, 18, "FrameTop");
  add(FrameBottom, 0, 0, 182, 199, 18, "FrameBottom");
  add(logoSprite, 2, 0, 0, 306, 70, "logo");
  add(tileSprite, 3, 169, 149, 150, 50, "tile");
  add(markerSprite, 3, 7, 188, 22, 9, "marker");
  for (int c = 2; c <= 6; ++c) {
    for (int n = 0; n <= 48; ++n) {
      int x, y;
      if (n <= 5)
        x = 1 + 34 * n, y = 1;
      else if (n <= 14)
        x = 1 + 34 * (n - 6), y = 30;
      else if (n <= 38)
        x = 1 + 34 * ((n - 15) % 8), y = 59 + 29 * ((n - 15) / 8);
      else if (n <= 45)
        x = 1 + 34 * (n - 39), y = 146;
      else
        x = 205 + 34 * (n - 46), y = 1;
      add(BeanSprites[c][n], c + 2, x, y, 33, 28,
          "bean " + std::to_string(c) + "/" + std::to_string(n));
    }
    for (int n = 49; n <= 58; ++n) {
      const int k = (n - 49) % 5;
      const bool second = n >= 54;
      int x = 1 + 34 * k, y = 0;
      if (c == 2) y = second ? 146 : 117;
      if (c == 3) y = second ? 88 : 59;
      if (c == 4) y = second ? 30 : 1;
      if (c >= 5) {
        const int base = c == 5 ? 1 : 117;
        x = 171 + 34 * k;
        y = second ? base + 29 : base;
        if (k == 4) x = c == 5 ? 171 : 205, y = second ? 88 : 59;
      }
      add(BeanSprites[c][n], 9, x, y, 33, 28,
          "bean " + std::to_string(c) + "/" + std::to_string(n));
    }
  }
  add(ChainPictures[1], 10, 42, 156, 236, 40, "chain 1");
  add(ChainPictures[8], 10, 44, 111, 235, 41, "chain 8");
  add(ChainPictures[7], 10, 43, 61, 237, 40, "chain 7");
  add(ChainPictures[6], 10, 60, 11, 200, 41, "chain 6");
  add(ChainPictures[2], 11, 27, 4, 230, 34, "chain 2");
  add(ChainPictures[3], 11, 62, 51, 210, 40, "chain 3");
  add(ChainPictures[4], 11, 3, 94, 169, 40, "chain 4");
  add(ChainPictures[5], 11, 57, 155, 199, 41, "chain 5");
  add(ChainPictures[0], 12, 0, 0, 200, 50, "chain 0");
  add(StartPictures[0], 13, 0, 0, 274, 110, "start 0");
  add(StartPictures[1], 14, 0, 0, 274, 110, "start 1");
  add(FrameSide, 15, 0, 0, 14, 374, "FrameSide");
  add(ResultPictures[0], 16, 5, 25, 312, 49, "result 0");
  add(ResultPictures[1], 16, 5, 81, 310, 52, "result 1");
  return e;
}

void ExpectMirror(const Sprite& original, const Sprite& mirror, const char* what) {
  ASSERT_EQ(mirror.width, original.width) << what;
  ASSERT_EQ(mirror.height, original.height) << what;
  for (int y = 0; y < original.height; ++y)
    for (int x = 0; x < original.width; ++x)
      ASSERT_EQ(mirror.pixels[y * original.width + x],
                original.pixels[y * original.width + original.width - 1 - x])
          << what << " at " << x << "," << y;
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
  for (const Expect& e : ExpectedCuts()) {
    ASSERT_NE(e.sprite->pixels, nullptr) << e.what;
    ASSERT_EQ(e.sprite->width, e.width) << e.what;
    ASSERT_EQ(e.sprite->height, e.height) << e.what;
    int wrong = 0;
    for (int y = 0; y < e.height; ++y)
      for (int x = 0; x < e.width; ++x)
        wrong += e.sprite->pixels[y * e.width + x] != synthetic::Pixel(e.picture, e.x + x, e.y + y);
    EXPECT_EQ(wrong, 0) << e.what;
  }
  ExpectMirror(FrameTop, FrameTopMirror, "FrameTopMirror");
  ExpectMirror(FrameBottom, FrameBottomMirror, "FrameBottomMirror");
  ExpectMirror(FrameSide, FrameSideMirror, "FrameSideMirror");
  ExpectMirror(markerSprite, markerMirrorSprite, "markerMirrorSprite");
  // Colour 1 has only its ten black beans.
  for (int n = 10; n < kBeanSpritesPerColour; ++n) EXPECT_EQ(BeanSprites[1][n].pixels, nullptr);
  // No picture set the palette.
  EXPECT_EQ(session->paletteChanges, 0u);
}

TEST_F(GameDataTest, PicksOneAnimationAtRandomAndLoadsAgainWithoutGrowing) {
  for (uint64_t seed : {1, 2, 3, 4, 5, 6}) {
    SeedRandom(seed);
    const uint32_t pick = Random(3);
    SeedRandom(seed);
    LoadGameData();
    for (int k = 0; k < kAnimImages; ++k) {
      ASSERT_NE(AnimFrames[k], nullptr);
      EXPECT_EQ(AnimFrames[k][0], 20 * pick + k + 1) << "seed " << seed << " image " << k;
      EXPECT_EQ(AnimFrames[k][78 * 48 - 1], 20 * pick + k + 1);
    }
  }
  const size_t used = SpriteStoreUsed();
  LoadGameData();
  EXPECT_EQ(SpriteStoreUsed(), used);
}

TEST_F(GameDataTest, SoundsLoadOnlyWithAudio) {
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

TEST_F(GameDataTest, BadFilesStopTheLoadNamingThem) {
  std::filesystem::remove(dir.DataFile("plonkix.p07"));
  ExpectFatal([] { LoadGameData(); }, {"data/plonkix.p07"});
  WriteFileBytes(dir.DataFile("plonkix.p07"), synthetic::PatternPicture(7, 320, 198));
  ExpectFatal([] { LoadGameData(); }, {"data/plonkix.p07", "320 x 198"});
  WriteFileBytes(dir.DataFile("plonkix.p07"), synthetic::PatternPicture(7, 320, 200));
  WriteFileBytes(dir.DataFile("plonkix.p15"), synthetic::PatternPicture(15, 16, 374));
  ExpectFatal([] { LoadGameData(); }, {"data/plonkix.p15", "16 x 374", "14 x 374"});
  WriteFileBytes(dir.DataFile("plonkix.p15"), synthetic::PatternPicture(15, 14, 374));
  for (int n = 0; n < 3; ++n)
    WriteFileBytes(dir.DataFile(synthetic::Name("f", n)), synthetic::CountingAnimation(n, 9));
  ExpectFatal([] { LoadGameData(); }, {"data/plonkix.f0", "9 images"});
}

}  // namespace
