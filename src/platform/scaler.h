// The 640 x 400 picture of palette indices shown on a 32-bit output of any size: centred at
// 16:10 with black bars on one axis, scaled by a whole multiple where the fit is whole, and
// otherwise upscaled by the next whole multiple and scaled down smoothly (two-tap linear), so
// pixels stay sharp at any size. Only what differs from the last picture is converted again.
// No SDL here: the SDL backend points it at a window surface or a texture's pixels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display.h"

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PixelRect&) const = default;
};

// The largest 16:10 rectangle inside an output of the given size, centred.
PixelRect FitPicture(int outputWidth, int outputHeight);
// The largest whole multiple of 640 x 400 inside the given size, at least 1.
int WholeScaleFitting(int width, int height);
// The whole multiple a fit is first upscaled to: its own when it is whole, else the next above.
int UpscaleFor(const PixelRect& fit);

class PictureScaler {
 public:
  PictureScaler();
  // Where to draw: 32-bit pixels made of four 8-bit channels in any order, the row pitch in bytes
  // and the size. Clears the output to black; the next picture is converted whole.
  void SetOutput(uint8_t* pixels, int pitchBytes, int width, int height);
  // The 256 palette colours as output pixels; the next picture is converted whole.
  void SetColours(const uint32_t* colours);
  // Converts what differs from the last picture and returns the output rectangles written
  // (the whole output after SetOutput or SetColours).
  const std::vector<PixelRect>& Show(const uint8_t* picture);
  // The last picture again, whole: new colours, a new or exposed output.
  const std::vector<PixelRect>& Redraw();
  const PixelRect& Fit() const { return fit_; }

  // One output pixel along an axis: source pixel s0 blended towards s1 by weight/256.
  struct Tap {
    uint16_t s0 = 0, s1 = 0, weight = 0;
  };

 private:
  struct Axis {
    std::vector<Tap> taps;  // by output pixel of the fit
    std::vector<int>
        firstReaching;  // by source pixel s: the first output pixel that reads s or later
    std::vector<int>
        lastReaching;  // by source pixel s: the last output pixel that reads s or earlier
    void Build(int outSize, int sourceSize, int upscale);
  };
  void ConvertBand(int y0, int y1, int x0, int x1);
  void ConvertWholeMultiple(int y0, int y1, int x0, int x1);
  void ConvertSmooth(int y0, int y1, int x0, int x1);
  void ScaleRow(int sourceRow, int c0, int c1, uint32_t* line) const;
  uint32_t* OutputRow(int y) const {
    return reinterpret_cast<uint32_t*>(out_ + static_cast<std::ptrdiff_t>(fit_.y + y) * pitch_) +
           fit_.x;
  }

  std::vector<uint8_t> last_;
  uint32_t colours_[256] = {};
  uint8_t* out_ = nullptr;
  int pitch_ = 0, width_ = 0, height_ = 0;
  PixelRect fit_;
  int upscale_ = 1;
  bool wholeMultiple_ = true;
  bool redrawAll_ = true;
  Axis columns_, rows_;
  std::vector<uint32_t> lines_[2];  // horizontally scaled source rows for the smooth path
  std::vector<PixelRect> written_;
};
