// The intro, and the pages that wait for a key: the after-game high-score pages, credits and
// help, the exit screen. Their rank lines, what they show, their fades and the fresh key each
// waits for; the intro's three phases and the keys that cut them.
#include "after_game.h"
#include "exit_screen.h"
#include "highscores.h"
#include "info_pages.h"
#include "intro.h"
#include "screen_fixture.h"

namespace {
using namespace screens;

void SetName(HighScoreName& name, const char* text) {
  name = HighScoreName{kNameCapacity, static_cast<uint32_t>(strlen(text)), {}};
  memcpy(name.chars, text, name.length);
}

class PagesTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    HighScoreTable = HighScoreTableRecord{};
    for (int i = 0; i < kHighScoreRanks; ++i) {
      SetName(HighScoreTable.killerKingsName[i], "kingy");
      SetName(HighScoreTable.comboDemonsName[i], "demon");
      HighScoreTable.comboDemons[i].combo = static_cast<uint16_t>(9 - i);
    }
    HighScoreTable.comboDemonsName[0].chars[2] = 0;  // from a hand-edited file: shown as a gap
  }
  std::string Lines(HighScorePage page, int rank) {
    char first[kRankLineBytes], second[kRankLineBytes];
    const uint32_t length = FormatRankLines(page, rank, first, second);
    return std::string(first, length) + "|" + second;
  }
};

TEST_F(PagesTest, RankLinesHaveTheirFixedWidthsAndShowNamesAsStored) {
  HighScoreTable.killerKingsBeans[0] = 12;
  EXPECT_EQ(Lines(kKillerKingsPage, 1), "1.kingy  0000000000 pts.|12 beans killed");
  SetName(HighScoreTable.killerKingsName[1], "");
  HighScoreTable.killerKingsScore[1] = 4294967295u;
  EXPECT_EQ(Lines(kKillerKingsPage, 2), "2.  4294967295 pts.|0 beans killed");
  HighScoreTable.comboDemons[2] = ComboEntry{7, 65535};
  SetName(HighScoreTable.comboDemonsName[2], "ab");
  EXPECT_EQ(Lines(kComboDemonsPage, 3), "3.ab  07 hit-combo|65535 pts.scored");
  HighScoreTable.comboDemons[7].combo = 123;  // longer than the fill: shown whole
  memcpy(HighScoreTable.comboDemonsName[7].chars, "demonxyz", 8);
  HighScoreTable.comboDemonsName[7].length = 200;  // never more than five characters
  EXPECT_EQ(Lines(kComboDemonsPage, 8), "8.demon  123 hit-combo|0 pts.scored");
}

struct KeyPage {
  const char* name;
  void (*show)();
  std::vector<uint32_t> taps;  // the keys that turn or close the pages
  int picture;                 // whose colours fade in; 0: the menu's, already on screen
  SoundLog sounds;
  // Lines of the last page (text, y), on black or on the menu's background; none: the picture.
  std::vector<std::pair<const char*, int32_t>> lines;
};
void PrintTo(const KeyPage& c, std::ostream* os) {  // names the row in CTest's test names
  *os << c.name;
}
class KeyPageTest : public PagesTest, public ::testing::WithParamInterface<KeyPage> {};

TEST_P(KeyPageTest, ShowsFadesInWaitsForAFreshKeyAndFadesOut) {
  const KeyPage& c = GetParam();
  ASSERT_TRUE(OpenAudio());
  memcpy(Palette, PictureColours(22).data(), kPaletteBytes);
  for (int i = 0; i < kScreenBytes; ++i) BackBuffer[i] = static_cast<uint8_t>(1 + i % 5);
  const std::vector<uint8_t> menu(BackBuffer, BackBuffer + kScreenBytes), black(kScreenBytes, 0);
  uint32_t fullAt = 0;
  backend.onPoll = [&](HeadlessBackend& b) {
    if (!fullAt && memcmp(b.colours, PictureColours(c.picture).data(), kPaletteBytes) == 0)
      fullAt = b.now;
  };
  KeyState[scan::kReturn] = 1;  // held from the screen before
  backend.KeyUp(2000, keysym::kReturn);
  backend.Tap(500, keysym::kSpace, 40);
  for (uint32_t at : c.taps) backend.Tap(at, keysym::kSpace, 40);
  c.show();
  if (c.picture) {
    EXPECT_NEAR(fullAt, 64 * kTickMs, 2 * kTickMs) << "a whole fade-in first";
  }
  EXPECT_NEAR(backend.now, c.taps.back() + 64 * kTickMs, 3 * kTickMs) << "a fade-out after";
  EXPECT_EQ(SoundsPlayed(), c.sounds);
  EXPECT_TRUE(DisplayBlack());
  const auto kept = c.picture ? PictureColours(c.picture) : std::vector<uint8_t>(kPaletteBytes);
  EXPECT_EQ(std::vector<uint8_t>(Palette, Palette + kPaletteBytes), kept);
  for (auto [text, y] : c.lines)
    EXPECT_TRUE(
        LineShows(backend.lastFrame.data(), (c.picture ? black : menu).data(), text, 320, y))
        << text;
  EXPECT_TRUE(!c.lines.empty() || backend.lastFrame == PicturePixels(c.picture, 640, 400));
  EXPECT_FALSE(TickHandlerActive);
  EXPECT_EQ(backend.audioOpen, c.picture != 17) << "the exit screen closes audio";
}

constexpr auto Help = [] { ShowInfoPage(kHelpPage); };
constexpr auto Credits = [] { ShowInfoPage(kCreditsPage); };
constexpr auto Exit = [] { ExitScreen(1); };
const std::vector<std::pair<const char*, int32_t>> kDemons1And8 = {{"1.de on  09 hit-combo", 62},
                                                                   {"0 pts.scored", 390}};
const KeyPage kKeyPages[] = {
    {"after", AfterGameScreen, {3000, 6000}, 2, {{18, 40, 0}, {18, 40, 0}}, kDemons1And8},
    {"help", Help, {3000}, 0, {{18, 40, 0}}, {{".. now blast some beans ..", 387}}},
    {"credits", Credits, {3000}, 0, {{18, 40, 0}}, {{".. the credits ..", 13}}},
    {"exit", Exit, {3000}, 17, {{19, 60, 3}}, {}}};
INSTANTIATE_TEST_SUITE_P(Pages, KeyPageTest, ::testing::ValuesIn(kKeyPages),
                         [](const auto& info) { return std::string(info.param.name); });

using IntroTest = ScreenTest;

TEST_F(IntroTest, RunsItsThreePhasesAndEndsBlack) {
  RecordFrames();
  Intro();
  EXPECT_EQ(backend.videoModeChanges, 1);
  EXPECT_EQ(SoundsPlayed(), (SoundLog{{16, 60, 0}, {17, 60, 1}, {19, 60, 0}}));
  EXPECT_EQ(FramesUnder(AnimCountUp).size(), 351u) << "title: clock -50 to 652 in steps of 2";
  EXPECT_EQ(FramesUnder(AnimCountDown).size(), 301u) << "strips: clock 0 to -1204 in steps of 4";
  // Title 351 ticks, strips 301 + fade 64, closing fade-in 64 + hold 211 + fade-out 64.
  EXPECT_NEAR(backend.now, (351 + 301 + 64 + 64 + 211 + 64) * kTickMs, 10 * kTickMs);
  EXPECT_TRUE(DisplayBlack());
  EXPECT_EQ(memcmp(Palette, PictureColours(21).data(), kPaletteBytes), 0);
  EXPECT_FALSE(TickHandlerActive);
}

TEST_F(IntroTest, AKeyHeldFromStartUpEndsTheTitleAtOnceAndThePhasesWaitForItsRelease) {
  KeyState[scan::kSpace] = 1;
  backend.KeyUp(3000, keysym::kSpace);
  backend.Tap(4000, keysym::kReturn, 500);  // cuts the fly-in
  backend.Tap(5000, 'a', 3000);             // during the palette fade, held past the fade-in
  RecordFrames();
  Intro();
  const auto title = FramesUnder(AnimCountUp), strips = FramesUnder(AnimCountDown);
  EXPECT_EQ(title.size(), 1u) << "the held key ends the title after its first frame";
  EXPECT_GE(strips.front(), 3000u) << "the strips wait for the release";
  EXPECT_LE(strips.back(), 4000u + 2 * kTickMs) << "the key cuts the fly-in at once";
  // The palette fade runs in full from the release at 4500 although 'a' goes down at 5000.
  EXPECT_NEAR(frames.back().first, 4500 + 64 * kTickMs, 3 * kTickMs);
  // The closing fade-in ignores 'a'; the hold ends at once as 'a' is still down; the fade-out
  // follows its release at 8000.
  EXPECT_NEAR(backend.now, 8000 + 64 * kTickMs, 3 * kTickMs);
}

TEST_F(IntroTest, AScreenThatCannotBeOpenedEndsTheProgramWithAMessage) {
  backend.videoModeWorks = false;
  ExpectFatal([] { Intro(); }, {"cannot open the window"});
  EXPECT_EQ(backend.framesPresented, 0u);
}

}  // namespace
