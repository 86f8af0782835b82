// The generated data set as the game uses it: every file written the same on every run, the
// animations looping, every sprite cut by the game's loader exactly as it was drawn (so no sprite
// on a sheet overwrites another), every picture at the size its screen loads it.
#include "animations.h"
#include "beans.h"
#include "dataset.h"
#include "display.h"
#include "fonts.h"
#include "frontend_common.h"
#include "game_art.h"
#include "game_data.h"
#include "intro.h"
#include "load_all.h"
#include "master_palette.h"
#include "match_flow.h"
#include "menu_art.h"
#include "picture.h"
#include "test_support.h"

// The set is drawn once for all tests of this file and written into a directory of its own.
class DataSetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data_ = BuildDataSet();
    dir_ = fs::temp_directory_path() / ("plonkix-datagen-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    ASSERT_TRUE(WriteDataSet(data_, dir_ / "data"));
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  static fs::path File(const std::string& name) { return dir_ / "data" / name; }
  static inline DataSet data_;
  static inline fs::path dir_;
};

TEST_F(DataSetTest, FiftyFilesTheSameOnEveryRunAndAnimationsThatDecodeAsDrawn) {
  const fs::path again = dir_ / "again";
  ASSERT_TRUE(WriteDataSet(BuildDataSet(), again));
  int files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir_ / "data")) {
    ++files;
    EXPECT_TRUE(ReadFileBytes(entry.path()) == ReadFileBytes(again / entry.path().filename()))
        << entry.path().filename() << " differs between two runs";
  }
  EXPECT_EQ(files, 50);
  for (int f = 0; f < kAnimationCount; ++f) {
    SCOPED_TRACE(DataFileName('f', f));
    const std::vector<uint8_t> b = ReadFileBytes(File(DataFileName('f', f)));
    ASSERT_GT(b.size(), 134u);
    // What other programs check and our loader does not: magic numbers, depth 8, a speed.
    const auto le16 = [&b](size_t at) { return b[at] | b[at + 1] << 8; };
    EXPECT_TRUE(le16(4) == 0xAF12 && le16(12) == 8 && le16(16) > 0 && le16(132) == 0xF1FA);
    uint8_t* frames[kAnimImages] = {};
    ASSERT_EQ(LoadAnimation(frames, File(DataFileName('f', f)).c_str()), kAnimationFrames);
    // Ten frames of bold shapes, each moving on from the one before, the last into the first.
    for (int i = 0; i < kAnimationFrames; ++i) {
      const std::vector<uint8_t>& drawn = data_.animation[f][i].pixels;
      EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), frames[i]) &&
                  drawn != data_.animation[f][(i + 1) % kAnimationFrames].pixels &&
                  std::count(drawn.begin(), drawn.end(), 0) + 300 < static_cast<long>(drawn.size()))
          << "frame " << i;
    }
  }
}

TEST_F(DataSetTest, TheGameLoadsEverySpriteAsDrawnAndEveryPictureAtItsScreensSize) {
  HeadlessSession session;
  ScratchDir scratch;
  fs::copy(dir_ / "data", scratch.path() / "data",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  LoadAllData();  // every sprite cut as drawn: not at another place or size, nor drawn over
  std::vector<std::tuple<const Sprite&, IndexedImage, std::string>> sprites = {
      {FrameTop, DrawFrameTop(), "frame top"},    {FrameBottom, DrawFrameBottom(), "frame bottom"},
      {FrameSide, DrawFrameSide(), "frame side"}, {logoSprite, DrawLogo(), "logo"},
      {tileSprite, DrawTile(), "tile"},           {markerSprite, DrawMarker(), "marker"}};
  const auto add = [&sprites](const Sprite& loaded, IndexedImage drawn, std::string what, int k) {
    sprites.emplace_back(loaded, std::move(drawn), what + " " + std::to_string(k));
  };
  for (int k = 0; k < 2; ++k) {
    add(StartPictures[k], DrawStartPicture(k), "start", k);
    add(ResultPictures[k], DrawResultPicture(k), "result", k);
  }
  for (int k = 0; k < kChainPictures; ++k) add(ChainPictures[k], DrawChainPicture(k), "chain", k);
  for (int font = 0; font < 4; ++font)
    for (int k = 0; k < (font == 2 ? kDigitGlyphs : kLetterGlyphs); ++k)
      add(FontGlyphs[font][k], DrawGlyph(font, k), "font " + std::to_string(font) + " glyph", k);
  for (int c = 1; c <= 6; ++c)
    for (int n = 0; n < (c == 1 ? kBlackBeanSpriteCount : kBeanSpriteCount); ++n)
      add(BeanSprites[c][n], DrawBeanSprite(c, n), "colour " + std::to_string(c) + " sprite", n);
  for (const auto& [loaded, drawn, what] : sprites) {
    ASSERT_TRUE(loaded.pixels && loaded.width == drawn.width && loaded.height == drawn.height)
        << what << ": " << loaded.width << " x " << loaded.height;
    EXPECT_TRUE(std::equal(drawn.pixels.begin(), drawn.pixels.end(), loaded.pixels)) << what;
    EXPECT_TRUE(std::any_of(drawn.pixels.begin(), drawn.pixels.end(), [](uint8_t v) { return v; }))
        << what << ": nothing drawn";
  }

  // The pictures the screens load themselves at their sizes; the sprites are shown with the
  // palettes of p02, p22 and p23, so those three carry the master palette.
  const std::tuple<const char*, int, int, bool> screens[] = {
      {kLogoPictureFile, kLogoWidth, kLogoHeight, true},
      {kExitPictureFile, kScreenWidth, kScreenHeight, false},
      {kTitlePictureFile, kTitleWidth, kTitleHeight, false},
      {kStripPictureFiles[0], kScreenWidth, kScreenHeight, false},
      {kStripPictureFiles[1], kScreenWidth, kScreenHeight, false},
      {kClosingPictureFile, kClosingWidth, kClosingHeight, false},
      {kMenuPictureFile, kScreenWidth, kScreenHeight, true},
      {kMatchBackground, kScreenWidth, kScreenHeight, true}};
  static uint8_t pixels[kScreenWidth * kScreenHeight];
  for (const auto& [file, width, height, master] : screens) {
    LoadPicture(pixels, file, true, width, height);
    EXPECT_TRUE(!master || memcmp(Palette, MasterPalette().rgb, kPaletteBytes) == 0) << file;
  }
}

TEST_F(DataSetTest, WritingAgainKeepsAPlayersOptionsAndScoresAndReportsFailures) {
  const std::vector<uint8_t> cfg(104, 7), hig(380, 9);
  WriteFileBytes(File("plonkix.cfg"), cfg);
  WriteFileBytes(File("plonkix.hig"), hig);
  fs::remove(File("plonkix.p05"));
  ASSERT_TRUE(WriteDataSet(data_, dir_ / "data"));
  EXPECT_TRUE(ReadFileBytes(File("plonkix.cfg")) == cfg &&
              ReadFileBytes(File("plonkix.hig")) == hig && fs::exists(File("plonkix.p05")));
  // The starting files come back when missing.
  fs::remove(File("plonkix.cfg"));
  fs::remove(File("plonkix.hig"));
  ASSERT_TRUE(WriteDataSet(data_, dir_ / "data"));
  EXPECT_TRUE(fs::file_size(File("plonkix.cfg")) == 104 &&
              fs::file_size(File("plonkix.hig")) == 380);
  // A directory that cannot be written is reported, not passed over.
  WriteFileBytes(dir_ / "blocked", {1});  // a file where the directory should be
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteDataSet(data_, dir_ / "blocked"));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
}
