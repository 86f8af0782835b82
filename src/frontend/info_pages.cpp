#include "info_pages.h"

#include "display.h"
#include "ticks.h"

namespace {
constexpr PageLine Line(const char* text) {
  return MakeText<kPageLineCapacity>(text);
}
}  // namespace

const PageLine kCreditLines[kPageLines] = {
    Line(".. the credits .."),
    Line(" "),
    Line(".. all the coding/design .."),
    Line("* the plonkix team *"),
    Line(" "),
    Line(".. beta testing .."),
    Line("* the plonkix team *"),
    Line("* every early bean blaster *"),
    Line("* and all i forgot *"),
    Line(" "),
    Line(".. greetings .."),
    Line("* all chain builders *"),
    Line("* the killer kings *"),
    Line("* the combo demons *"),
    Line("* two on one keyboard *"),
    Line("* friends of black beans *"),
    Line("* puzzle fans everywhere *"),
    Line("* and you for playing *"),
};

const PageLine kHelpLines[kPageLines] = {
    Line(".. help .."),
    Line(" "),
    Line("the gameplay of plonkix is"),
    Line("pretty easy .. 2 beans are"),
    Line("falling down the screen .."),
    Line("its your job to group same"),
    Line("colors .. if more then 3 of"),
    Line("them are linked they will"),
    Line("explode .. thats all !!"),
    Line(" "),
    Line("in a 2 player game exploding"),
    Line("beans morph into black beans"),
    Line("which drop down in the other"),
    Line("field .. the problem is"),
    Line("that you cannot link black"),
    Line("beans with each other .."),
    Line(" "),
    Line(".. now blast some beans .."),
};

void ShowInfoPage(uint8_t selector) {
  CopyWords(BackBuffer, FrameBuffer, kScreenWords);
  DrawPageLines(FrameBuffer, selector != 0 ? kCreditLines : kHelpLines);
  PresentFrame(FrameBuffer);
  // The key that chose the page does not close it.
  WaitKeysReleased();
  WaitAnyKey();
  Play(kConfirmSound);
  FadeOut(Palette);
}
