// The generated data set as the game uses it: every file written, every sprite cut by the game's
// loader exactly as it was drawn, every picture at the size its screen loads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "animations.h"
#include "beans.h"
#include "dataset.h"
#include "display.h"
#include "fonts.h"
#include "frontend_common.h"
#include "game_data.h"
#include "intro.h"
#include "load_all.h"
#include "master_palette.h"
#include "match_flow.h"
#include "picture.h"
#include "preview.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The set is drawn once for all tests of this file and written into a directory of its own.
class DataSetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data_ = new DataSet(BuildDataSet());
    dir_ =
        new fs::path(fs::temp_directory_path() / ("plonkix-datagen-" + std::to_string(getpid())));
    fs::remove_all(*dir_);
    ASSERT_TRUE(WriteDataSet(*data_, *dir_ / "data"));
  }
  static void TearDownTestSuite() {
    fs::remove_all(*dir_);
    delete dir_;
    delete data_;
  }
  static fs::path File(const std::string& name) { return *dir_ / "data" / name; }

  static inline DataSet* data_ = nullptr;
  static inline fs::path* dir_ = nullptr;
};

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8);
}

// A sprite the game cut shows something and is, pixel for pixel, the drawing that was placed.
void ExpectDrawn(const Sprite& loaded, const IndexedImage& drawn, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_NE(loaded.pixels, nullptr);
  ASSERT_TRUE(loaded.width == drawn.width && loaded.height == drawn.height)
      << loaded.width << " x " << loaded.height;
  EXPECT_TRUE(std::equal(drawn.pixels.begin(), drawn.pixels.end(), loaded.pixels));
  EXPECT_NE(std::count(drawn.pixels.begin(), drawn.pixels.end(), 0),
            static_cast<long>(drawn.pixels.size()))
      << "nothing drawn";
}

}  // namespace

TEST_F(DataSetTest, WritesFiftyFilesAndAnimationsThatDecodeAsDrawn) {
  EXPECT_EQ(std::distance(fs::directory_iterator(*dir_ / "data"), fs::directory_iterator{}), 50);
  HeadlessSession session;
  for (int f = 0; f < kAnimationCount; ++f) {
    SCOPED_TRACE(DataFileName('f', f));
    const std::vector<uint8_t> bytes = ReadFileBytes(File(DataFileName('f', f)));
    ASSERT_GT(bytes.size(), 134u);
    // The header other programs check (our loader does not): magic numbers, depth 8, a speed.
    EXPECT_EQ(Le16(bytes, 4), 0xAF12);
    EXPECT_EQ(Le16(bytes, 12), 8);
    EXPECT_GT(Le16(bytes, 16), 0);
    EXPECT_EQ(Le16(bytes, 128 + 4), 0xF1FA);
    uint8_t* frames[kAnimImages] = {};
    ASSERT_EQ(LoadAnimation(frames, File(DataFileName('f', f)).c_str()), kAnimationFrames);
    for (int i = 0; i < kAnimationFrames; ++i)
      EXPECT_EQ(memcmp(frames[i], data_->animation[f][i].pixels.data(), kAnimWidth * kAnimHeight),
                0)
          << "frame " << i;
  }
}

TEST_F(DataSetTest, TheGameLoadsEverySpriteAsDrawnAndEveryPictureAtItsScreensSize) {
  HeadlessSession session;
  ScratchDir scratch;
  fs::copy(*dir_ / "data", scratch.path() / "data",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  LoadAllData();  // cuts the sheets p00..p16 at the game's own positions and sizes
  for (int font = 0; font < 4; ++font)
    for (int k = 0; k < (font == 2 ? kDigitGlyphs : kLetterGlyphs); ++k)
      ExpectDrawn(FontGlyphs[font][k], DrawGlyph(font, k),
                  "font " + std::to_string(font) + " glyph " + std::to_string(k));
  for (int c = 1; c <= 6; ++c)
    for (int n = 0; n < (c == 1 ? kBlackBeanSpriteCount : kBeanSpriteCount); ++n)
      ExpectDrawn(BeanSprites[c][n], DrawBeanSprite(c, n),
                  "colour " + std::to_string(c) + " sprite " + std::to_string(n));
  const struct {
    const Sprite& sprite;
    SheetRect rect;
  } pieces[] = {{FrameTop, FrameTopRect()},         {FrameBottom, FrameBottomRect()},
                {FrameSide, FrameSideRect()},       {StartPictures[0], StartRect(0)},
                {StartPictures[1], StartRect(1)},   {ResultPictures[0], ResultRect(0)},
                {ResultPictures[1], ResultRect(1)}, {logoSprite, LogoRect()},
                {tileSprite, TileRect()},           {markerSprite, MarkerRect()}};
  for (const auto& piece : pieces)  // as placed; the layout test shows none overwrites another
    ExpectDrawn(piece.sprite, Cut(data_->master, piece.rect),
                "piece on p" + std::to_string(piece.rect.picture));
  for (int k = 0; k < kChainPictures; ++k)
    ExpectDrawn(ChainPictures[k], Cut(data_->master, ChainRect(k)), "chain " + std::to_string(k));

  // The pictures the screens load themselves (a picture of another size stops the game). Sprites
  // are shown with the palettes of p02, p22 and p23, so those three carry the master palette.
  const struct {
    const char* file;
    int width, height;
    bool master;
  } screens[] = {{kLogoPictureFile, kLogoWidth, kLogoHeight, true},
                 {kExitPictureFile, kScreenWidth, kScreenHeight, false},
                 {kTitlePictureFile, kTitleWidth, kTitleHeight, false},
                 {kStripPictureFiles[0], kScreenWidth, kScreenHeight, false},
                 {kStripPictureFiles[1], kScreenWidth, kScreenHeight, false},
                 {kClosingPictureFile, kClosingWidth, kClosingHeight, false},
                 {kMenuPictureFile, kScreenWidth, kScreenHeight, true},
                 {kMatchBackground, kScreenWidth, kScreenHeight, true}};
  static uint8_t pixels[kScreenWidth * kScreenHeight];
  for (const auto& s : screens) {
    LoadPicture(pixels, s.file, true, s.width, s.height);
    if (s.master) {
      EXPECT_EQ(memcmp(Palette, MasterPalette().rgb, kPaletteBytes), 0) << s.file;
    }
  }
}

TEST_F(DataSetTest, WritingAgainKeepsAPlayersOptionsAndScoresAndReportsFailures) {
  const std::vector<uint8_t> cfg(104, 7), hig(380, 9);
  WriteFileBytes(File("plonkix.cfg"), cfg);
  WriteFileBytes(File("plonkix.hig"), hig);
  fs::remove(File("plonkix.p05"));
  ASSERT_TRUE(WriteDataSet(*data_, *dir_ / "data"));
  EXPECT_EQ(ReadFileBytes(File("plonkix.cfg")), cfg);
  EXPECT_EQ(ReadFileBytes(File("plonkix.hig")), hig);
  EXPECT_TRUE(fs::exists(File("plonkix.p05")));
  // The starting files come back when missing.
  fs::remove(File("plonkix.cfg"));
  fs::remove(File("plonkix.hig"));
  ASSERT_TRUE(WriteDataSet(*data_, *dir_ / "data"));
  EXPECT_EQ(fs::file_size(File("plonkix.cfg")), 104u);
  EXPECT_EQ(fs::file_size(File("plonkix.hig")), 380u);
  // A directory that cannot be written is reported, not passed over.
  WriteFileBytes(*dir_ / "blocked", {1});  // a file where the directory should be
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteDataSet(*data_, *dir_ / "blocked"));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
}

TEST_F(DataSetTest, ContactSheetAndPreviewsAreWritten) {
  const fs::path sheet = *dir_ / "contact.png";
  ASSERT_TRUE(WriteContactSheet(*data_, sheet.string()));
  const std::vector<uint8_t> png = ReadFileBytes(sheet);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(memcmp(png.data() + 1, "PNG", 3), 0);
  // Wide enough for a 640-pixel picture and tall enough for every item.
  EXPECT_GE((png[16] << 24) | (png[17] << 16) | (png[18] << 8) | png[19], 640);
  EXPECT_GE((png[20] << 24) | (png[21] << 16) | (png[22] << 8) | png[23], 17 * 200);
  const fs::path previews = *dir_ / "previews";
  ASSERT_TRUE(WritePreviews(data_->master, data_->animation[0], previews));
  for (const char* name :
       {"game.png", "menu.png", "options.png", "aftergame.png", "start.png", "results.png"})
    EXPECT_GT(fs::file_size(previews / name), 1000u) << name;
}
