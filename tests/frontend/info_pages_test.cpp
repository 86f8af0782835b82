// The credits and help pages: their lines, and the page shown over the menu background.
#include "info_pages.h"

#include "screen_fixture.h"

namespace {
using namespace screens;

constexpr uint32_t kLongestLineOnScreen = 28;  // 28 places of 22 pixels fit in 640

TEST(InfoPagesTest, EveryLineFitsAndCreditAndGreetingLinesAreFramedByStars) {
  for (const PageLine* page : {kCreditLines, kHelpLines})
    for (int j = 0; j < kPageLines; ++j) {
      EXPECT_GT(page[j].length, 0u);
      EXPECT_LE(page[j].length, kLongestLineOnScreen) << std::string(page[j].chars, page[j].length);
    }
  for (int j : {3, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17}) {
    const PageLine& line = kCreditLines[j];
    EXPECT_TRUE(line.chars[0] == '*' && line.chars[line.length - 1] == '*') << "line " << j;
  }
}

class InfoPageTest : public ScreenTest {};

TEST_F(InfoPageTest, TheChoosingKeyDoesNotCloseThePageAndLeavingFadesOut) {
  for (int i = 0; i < kScreenBytes; ++i) BackBuffer[i] = static_cast<uint8_t>(1 + i % 5);
  memcpy(Palette, PictureColours(22).data(), kPaletteBytes);
  std::vector<uint8_t> shown;
  backend.onPresent = [&shown](HeadlessBackend& b) {
    if (shown.empty()) shown = b.lastFrame;
  };
  KeyState[scan::kReturn] = 1;  // still held from the menu
  backend.KeyUp(1000, keysym::kReturn);
  backend.Tap(2000, keysym::kSpace, 40);
  ShowInfoPage(kHelpPage);
  EXPECT_NEAR(backend.now, 2000u + 64 * kTickMs, 2 * kTickMs);
  EXPECT_EQ(SoundsPlayed(), (SoundLog{{18, 40, 0}}));
  EXPECT_TRUE(DisplayBlack());
  EXPECT_EQ(std::count(Palette, Palette + kPaletteBytes, 0), kPaletteBytes);
  const uint8_t* bg = BackBuffer;
  EXPECT_TRUE(LineShows(shown.data(), bg, ".. help ..", 320, 13));
  EXPECT_TRUE(LineShows(shown.data(), bg, "", 320, 35)) << "a blank line leaves its row empty";
  EXPECT_TRUE(LineShows(shown.data(), bg, "in a 2 player game exploding", 320, 233));
  EXPECT_TRUE(LineShows(shown.data(), bg, ".. now blast some beans ..", 320, 387));

  backend.onPresent = [&shown](HeadlessBackend& b) { shown = b.lastFrame; };
  backend.Tap(backend.now + 100, keysym::kEscape, 40);
  ShowInfoPage(kCreditsPage);
  EXPECT_TRUE(LineShows(shown.data(), bg, ".. the credits ..", 320, 13));
}

}  // namespace
