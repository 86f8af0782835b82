#include "master_palette.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Stop {
  double at;  // 0..1 along the ramp
  Colour colour;
};

Colour Lerp(const Colour& a, const Colour& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Sample(const std::vector<Stop>& stops, double t) {
  if (t <= stops.front().at) return stops.front().colour;
  for (size_t i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].at) {
      const double span = stops[i].at - stops[i - 1].at;
      return Lerp(stops[i - 1].colour, stops[i].colour, (t - stops[i - 1].at) / span);
    }
  }
  return stops.back().colour;
}

uint8_t Byte(double v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

void FillRamp(PaletteData& p, PaletteRange range, const std::vector<Stop>& stops) {
  const int n = range.last - range.first;
  for (int i = 0; i <= n; ++i) {
    const Colour c = Sample(stops, static_cast<double>(i) / n);
    p.Set(range.first + i, Byte(c.r), Byte(c.g), Byte(c.b));
  }
}

Colour Hex(unsigned v) {
  return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}

// A bean ramp: a deep outline tone, the shadow, the main tone in the middle, then light and a
// nearly white highlight of the same hue.
std::vector<Stop> BeanRamp(unsigned deep, unsigned shadow, unsigned main, unsigned light,
                           unsigned shine) {
  return {{0.0, Hex(deep)},
          {0.28, Hex(shadow)},
          {0.55, Hex(main)},
          {0.8, Hex(light)},
          {1.0, Hex(shine)}};
}

constexpr unsigned kToneHex[kColourCodes + 1] = {0x000000, 0x4a4560, 0xe8283c, 0x3ccb3a,
                                                 0x2f7cf0, 0xffd21e, 0xb048e0};

PaletteData Build() {
  PaletteData p;
  p.Set(0, 0, 0, 0);
  FillRamp(p, kGreyRange, {{0.0, Hex(0x0c0c12)}, {0.5, Hex(0x7a7a88)}, {1.0, Hex(0xffffff)}});
  FillRamp(
      p, kBlackBeanRange,
      {{0.0, Hex(0x07060d)}, {0.45, Hex(0x24203a)}, {0.8, Hex(0x4a4560)}, {1.0, Hex(0x9c94c0)}});
  FillRamp(p, kRedRange, BeanRamp(0x3a0210, 0x9a0a20, 0xe8283c, 0xff7a7a, 0xffe2de));
  FillRamp(p, kGoldRange,
           {{0.0, Hex(0x3a1e04)},
            {0.3, Hex(0x9a4e08)},
            {0.6, Hex(0xf08a10)},
            {0.85, Hex(0xffb640)},
            {1.0, Hex(0xfff0c0)}});
  FillRamp(p, kGreenRange, BeanRamp(0x032a0c, 0x0f7a1e, 0x3ccb3a, 0x9af07a, 0xeaffdc));
  FillRamp(
      p, kCyanRange,
      {{0.0, Hex(0x022a34)}, {0.45, Hex(0x0a94b0)}, {0.75, Hex(0x40e0f0)}, {1.0, Hex(0xe0ffff)}});
  FillRamp(p, kBlueRange, BeanRamp(0x040c40, 0x0c3aa0, 0x2f7cf0, 0x86baff, 0xe6f2ff));
  FillRamp(p, kPurpleRange, BeanRamp(0x200634, 0x64188e, 0xb048e0, 0xdc9cff, 0xf8e8ff));
  FillRamp(p, kYellowRange, BeanRamp(0x3e2a02, 0xb07a06, 0xffd21e, 0xfff07a, 0xfffce8));
  // Night hues for backgrounds: indigo, violet, teal and pink tones of middle brightness.
  FillRamp(
      p, {224, 239},
      {{0.0, Hex(0x0a0a26)}, {0.35, Hex(0x1c1a50)}, {0.7, Hex(0x3a3090)}, {1.0, Hex(0x6c64d0)}});
  FillRamp(p, {240, 247}, {{0.0, Hex(0x2a0c3c)}, {0.5, Hex(0x6a2070)}, {1.0, Hex(0xe070b0)}});
  FillRamp(p, {248, 255}, {{0.0, Hex(0x0c2a3a)}, {0.5, Hex(0x1e5a78)}, {1.0, Hex(0x5aa8c8)}});
  // The colour-bar entries hold the bean body tones exactly.
  for (uint32_t c = 1; c <= kColourCodes; ++c) {
    const Colour t = Hex(kToneHex[c]);
    p.Set(kColourBarIndex[c], Byte(t.r), Byte(t.g), Byte(t.b));
  }
  return p;
}

}  // namespace

Colour BeanTone(int colour) {
  return Hex(kToneHex[colour]);
}

const PaletteData& MasterPalette() {
  static const PaletteData palette = Build();
  return palette;
}

const PaletteMapper& MasterMapper() {
  static const PaletteMapper mapper(MasterPalette());
  return mapper;
}
