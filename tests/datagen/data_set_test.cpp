// The generated data set as a whole: its files, their sizes, and loading it with the game's loader.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "animation.h"
#include "dataset.h"
#include "game_data.h"
#include "load_all.h"
#include "master_palette.h"
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
  // A scratch working directory holding a copy of this suite's data set.
  static void CopyInto(const ScratchDir& scratch) {
    fs::copy(*dir_ / "data", scratch.path() / "data",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }

  static DataSet* data_;
  static fs::path* dir_;
};
DataSet* DataSetTest::data_ = nullptr;
fs::path* DataSetTest::dir_ = nullptr;

struct Size {
  int width, height;
};
Size PictureSize(int p) {
  switch (p) {
    case 2:
      return {306, 70};
    case 12:
      return {200, 50};
    case 13:
    case 14:
      return {274, 110};
    case 15:
      return {14, 374};
    case 17:
    case 19:
    case 20:
    case 22:
    case 23:
      return {640, 400};
    case 18:
      return {430, 152};
    case 21:
      return {212, 307};
    default:
      return {320, 200};
  }
}

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8);
}

bool Empty(const Sprite& s) {
  if (!s.pixels || s.width <= 0 || s.height <= 0) return true;
  for (int i = 0; i < s.width * s.height; ++i)
    if (s.pixels[i]) return false;
  return true;
}

}  // namespace

TEST_F(DataSetTest, WritesEveryFileAtItsSize) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(*dir_ / "data")) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 50);
  EXPECT_EQ(fs::file_size(File("scanmap")), 323u);
  EXPECT_EQ(fs::file_size(File("plonkix.cfg")), 104u);
  EXPECT_EQ(fs::file_size(File("plonkix.hig")), 380u);
  for (int p = 0; p <= 23; ++p) {
    SCOPED_TRACE(DataFileName('p', p));
    const std::vector<uint8_t> bytes = ReadFileBytes(File(DataFileName('p', p)));
    ASSERT_GT(bytes.size(), 128u + 769u);
    EXPECT_EQ(bytes[0], 10);  // ZSoft
    EXPECT_EQ(bytes[3], 8);   // bits per pixel
    const Size want = PictureSize(p);
    EXPECT_EQ(Le16(bytes, 8) - Le16(bytes, 4) + 1, want.width);
    EXPECT_EQ(Le16(bytes, 10) - Le16(bytes, 6) + 1, want.height);
    EXPECT_EQ(bytes[bytes.size() - 769], 12);  // the palette marker
    // The whole picture decodes at that size with our reader.
    std::vector<uint8_t> pixels(static_cast<size_t>(want.width) * want.height);
    DecodeFault fault{};
    EXPECT_TRUE(DecodePicture(bytes.data(), bytes.size(), want.width, want.height, pixels.data(),
                              nullptr, fault));
  }
  for (int f = 0; f < 3; ++f) {
    SCOPED_TRACE(DataFileName('f', f));
    const std::vector<uint8_t> bytes = ReadFileBytes(File(DataFileName('f', f)));
    ASSERT_GT(bytes.size(), 128u);
    EXPECT_EQ(Le16(bytes, 4), 0xAF12);
    EXPECT_EQ(Le16(bytes, 6), 10);  // frames
    EXPECT_EQ(Le16(bytes, 8), 78);
    EXPECT_EQ(Le16(bytes, 10), 48);
    EXPECT_EQ(Le16(bytes, 12), 8);  // depth
    EXPECT_GT(Le16(bytes, 16), 0);  // speed
    EXPECT_EQ(Le16(bytes, 128 + 4), 0xF1FA);
  }
  for (int w = 0; w < 20; ++w) {
    const std::vector<uint8_t> bytes = ReadFileBytes(File(DataFileName('w', w)));
    ASSERT_GT(bytes.size(), 44u) << DataFileName('w', w);
    EXPECT_EQ(memcmp(bytes.data(), "RIFF", 4), 0);
  }
}

TEST_F(DataSetTest, ScreenPicturesCarryTheMasterPalette) {
  // The sprite sheets are drawn with the palettes of p02, p22 and p23: all three must be the
  // master palette, or the sprites would show in wrong colours.
  for (int p : {0, 2, 22, 23}) {
    const std::vector<uint8_t> bytes = ReadFileBytes(File(DataFileName('p', p)));
    EXPECT_EQ(memcmp(bytes.data() + bytes.size() - 768, MasterPalette().rgb, 768), 0)
        << DataFileName('p', p);
  }
}

TEST_F(DataSetTest, LoadsThroughTheGameLoaderWithEverySpriteDrawn) {
  HeadlessSession session;
  ScratchDir scratch;
  CopyInto(scratch);
  LoadAllData();
  for (int font = 0; font < 4; ++font) {
    const int glyphs = font == 2 ? 11 : 48;
    for (int k = 0; k < glyphs; ++k)
      EXPECT_FALSE(Empty(FontGlyphs[font][k])) << "font " << font << " glyph " << k;
  }
  for (int c = 1; c <= 6; ++c)
    for (int n = 0; n < (c == 1 ? 10 : 59); ++n)
      EXPECT_FALSE(Empty(BeanSprites[c][n])) << "colour " << c << " sprite " << n;
  for (const Sprite* s :
       {&FrameTop, &FrameBottom, &FrameSide, &FrameTopMirror, &FrameBottomMirror, &FrameSideMirror,
        &StartPictures[0], &StartPictures[1], &ResultPictures[0], &ResultPictures[1], &logoSprite,
        &tileSprite, &markerSprite, &markerMirrorSprite})
    EXPECT_FALSE(Empty(*s));
  for (int k = 0; k < 9; ++k) EXPECT_FALSE(Empty(ChainPictures[k])) << "chain picture " << k;
  // The animation: ten frames that show something and move from one to the next.
  for (int i = 0; i < 10; ++i) {
    ASSERT_NE(AnimFrames[i], nullptr);
    const Sprite frame{AnimFrames[i], 78, 48};
    EXPECT_FALSE(Empty(frame)) << "frame " << i;
    if (i > 0) {
      EXPECT_NE(memcmp(AnimFrames[i - 1], AnimFrames[i], 78 * 48), 0) << "frame " << i;
    }
  }
}

TEST_F(DataSetTest, EveryAnimationFileDecodesToTenMovingFrames) {
  HeadlessSession session;
  for (int f = 0; f < 3; ++f) {
    uint8_t* frames[kAnimImages] = {};
    ASSERT_EQ(LoadAnimation(frames, File(DataFileName('f', f)).c_str()), 10);
    // The decoded frames are exactly the drawn ones.
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(memcmp(frames[i], data_->animation[f][i].pixels.data(), 78 * 48), 0)
          << DataFileName('f', f) << " frame " << i;
  }
}

TEST_F(DataSetTest, KeepsAPlayersOptionsAndScoresWhenWrittenAgain) {
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
}

TEST_F(DataSetTest, ReportsADirectoryThatCannotBeWritten) {
  const fs::path blocked = *dir_ / "blocked";
  WriteFileBytes(blocked, {1});  // a file where the directory should be
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteDataSet(*data_, blocked));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
}

TEST_F(DataSetTest, ContactSheetAndPreviewsAreWritten) {
  const fs::path sheet = *dir_ / "contact.png";
  ASSERT_TRUE(WriteContactSheet(*data_, sheet.string()));
  const std::vector<uint8_t> png = ReadFileBytes(sheet);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(memcmp(png.data() + 1, "PNG", 3), 0);
  // The sheet is wide enough for a 640-pixel picture and tall enough for all 53 items.
  const uint32_t width = (png[16] << 24) | (png[17] << 16) | (png[18] << 8) | png[19];
  const uint32_t height = (png[20] << 24) | (png[21] << 16) | (png[22] << 8) | png[23];
  EXPECT_GE(width, 640u);
  EXPECT_GE(height, 17u * 200u);
  const fs::path previews = *dir_ / "previews";
  ASSERT_TRUE(WritePreviews(data_->master, data_->animation[0], previews));
  for (const char* name :
       {"game.png", "menu.png", "options.png", "aftergame.png", "start.png", "results.png"})
    EXPECT_GT(fs::file_size(previews / name), 1000u) << name;
}
