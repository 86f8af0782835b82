#include "frontend_common.h"

#include "display.h"
#include "sound.h"

int32_t tickPhase = 0;

void Play(const ScreenSound& sound) {
  PlaySound(Sounds[sound.number], sound.volume, sound.channel);
}

void DrawPageLines(uint8_t* target, const PageLine* lines) {
  for (int j = 0; j < kPageLines; ++j) {
    const uint32_t length =
        lines[j].length < kPageLineCapacity ? lines[j].length : kPageLineCapacity;
    DrawTextN(target, lines[j].chars, length, kScreenCentreX, PageLineY(j), kSmallFont);
  }
}

Sprite ScreenStrip(uint8_t* buffer, int strip) {
  return Sprite{buffer + static_cast<size_t>(strip) * kStripHeight * kScreenWidth, kScreenWidth,
                kStripHeight};
}

void DrawStrips(const StripPath* paths, int32_t clock, uint8_t* source, uint8_t* target) {
  for (int strip = 0; strip < kStripCount; ++strip) {
    const StripPath& path = paths[strip];
    DrawSpriteOpaque(target, path.x0 + path.xPerClock * clock, path.y0 + path.yPerClock * clock,
                     ScreenStrip(source, strip));
  }
}
