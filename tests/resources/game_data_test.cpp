#include "game_data.h"

#include <iterator>

#include "picture.h"
#include "random.h"
#include "sound.h"
#include "synthetic_data.h"
#include "test_support.h"

namespace {

class GameDataTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  ScratchDir dir;
  void SetUp() override { synthetic::WriteGameData(dir.path() / "data"); }
};

// Where each sprite is cut from is checked on the generated data set, against the generator's
// own sheet layout; here the mirrored pieces and what is left uncut.
TEST_F(GameDataTest, MirroredPiecesAreTheirOriginalsFlipped) {
  LoadGameData();
  const std::pair<const Sprite&, const Sprite&> mirrors[] = {{FrameTop, FrameTopMirror},
                                                             {FrameBottom, FrameBottomMirror},
                                                             {FrameSide, FrameSideMirror},
                                                             {markerSprite, markerMirrorSprite}};
  for (const auto& [a, b] : mirrors) {
    ASSERT_TRUE(a.pixels && b.pixels && a.width == b.width && a.height == b.height);
    for (int i = 0, w = a.width; i < w * a.height; ++i)
      ASSERT_EQ(b.pixels[i], a.pixels[i - i % w + w - 1 - i % w]) << a.width << " " << i;
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
  SoundAvailable = 0;
  LoadGameData();
  EXPECT_EQ(std::count(std::begin(Sounds), std::end(Sounds), nullptr), kSoundCount);
  SoundAvailable = 1;
  LoadGameData();
  for (int k = 0; k < kSoundCount; ++k) PlaySound(Sounds[k], 30, 2);
  ASSERT_EQ(session->sounds.size(), size_t{kSoundCount});
  for (int k = 0; k < kSoundCount; ++k) EXPECT_EQ(session->sounds[k].number, k);
}

TEST_F(GameDataTest, AnAnimationOfFewerThanTenImagesStopsTheLoad) {
  for (int n = 0; n < 3; ++n)
    WriteFileBytes(dir.DataFile(synthetic::Name("f", n)), synthetic::CountingAnimation(n, 9));
  ExpectFatal([] { LoadGameData(); }, {"data/plonkix.f0", "9 images"});
}

}  // namespace
