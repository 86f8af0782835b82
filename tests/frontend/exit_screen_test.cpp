// The exit screen: the picture faded in and out around a fresh key, and audio closed last.
#include "exit_screen.h"

#include "screen_fixture.h"

namespace {
using namespace screens;

class ExitScreenTest : public ScreenTest {};

TEST_F(ExitScreenTest, FadesThePictureInWaitsForAFreshKeyFadesOutAndClosesAudio) {
  ASSERT_TRUE(OpenAudio());
  uint32_t fullAt = 0;
  backend.onPoll = [&fullAt](HeadlessBackend& b) {
    if (!fullAt && memcmp(b.colours, PictureColours(17).data(), kPaletteBytes) == 0) fullAt = b.now;
  };
  KeyState[scan::kEscape] = 1;  // the key that left the menu
  backend.KeyUp(400, keysym::kEscape);
  backend.Tap(600, keysym::kSpace, 40);  // during the fade-in: ignored
  backend.Tap(3000, keysym::kSpace, 40);
  ExitScreen(1);
  EXPECT_EQ(backend.lastFrame, PicturePixels(17, 640, 400));
  EXPECT_NEAR(fullAt, 64 * kTickMs, 2 * kTickMs) << "the whole fade-in runs first";
  EXPECT_NEAR(backend.now, 3000 + 64 * kTickMs, 3 * kTickMs);
  EXPECT_EQ(SoundsPlayed(), (SoundLog{{19, 60, 3}})) << "the closing key plays nothing";
  EXPECT_TRUE(DisplayBlack());
  EXPECT_FALSE(backend.audioOpen);
  EXPECT_FALSE(TickHandlerActive);
}

TEST_F(ExitScreenTest, WithoutShowingItOnlyClosesAudio) {
  ASSERT_TRUE(OpenAudio());
  ExitScreen(0);
  EXPECT_EQ(backend.framesPresented, 0u);
  EXPECT_FALSE(backend.audioOpen);
}

}  // namespace
