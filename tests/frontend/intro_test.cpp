// The intro: its three phases, held keys and the screen it opens.
#include "intro.h"

#include "screen_fixture.h"

namespace {
using namespace screens;

class IntroTest : public ScreenTest {};

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
