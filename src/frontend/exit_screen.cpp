#include "exit_screen.h"

#include "display.h"
#include "frontend_common.h"
#include "picture.h"
#include "sound.h"
#include "ticks.h"

void ExitScreen(uint8_t show) {
  if (show != 0) {
    FillWords(FrameBuffer, kScreenWords, 0);
    PresentFrame(FrameBuffer);
    LoadPicture(FrameBuffer, kExitPictureFile, true, kScreenWidth, kScreenHeight);
    PresentBlackFrame();
    Play(kExitScreenSound);
    FadeIn();
    WaitKeysReleased();
    WaitAnyKey();
    FadeOut(FadePalette);
  }
  CloseAudio();
}
