#include "scaler.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kWeightOne = 256;

// Each of the four 8-bit channels of a moved towards b by weight/256.
inline uint32_t Blend(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = kWeightOne - weight;
  const uint32_t oddChannels =
      (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * weight) >> 8) & 0x00FF00FFu;
  const uint32_t evenChannels =
      (((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * weight) & 0xFF00FF00u;
  return oddChannels | evenChannels;
}
}  // namespace

PixelRect FitPicture(int outputWidth, int outputHeight) {
  PixelRect fit;
  if (static_cast<int64_t>(outputWidth) * kScreenHeight <=
      static_cast<int64_t>(outputHeight) * kScreenWidth) {
    fit.w = outputWidth;
    fit.h = static_cast<int>(static_cast<int64_t>(outputWidth) * kScreenHeight / kScreenWidth);
  } else {
    fit.h = outputHeight;
    fit.w = static_cast<int>(static_cast<int64_t>(outputHeight) * kScreenWidth / kScreenHeight);
  }
  fit.x = (outputWidth - fit.w) / 2;
  fit.y = (outputHeight - fit.h) / 2;
  return fit;
}

int WholeScaleFitting(int width, int height) {
  return std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
}

int UpscaleFor(const PixelRect& fit) {
  const int across = (fit.w + kScreenWidth - 1) / kScreenWidth;
  const int down = (fit.h + kScreenHeight - 1) / kScreenHeight;
  return std::max(1, std::max(across, down));
}

// Output pixel i samples the upscaled picture (source size x upscale) at its centre, as a
// linear texture filter does: position (i + 1/2) * scaled / out - 1/2, in units of 1/(2 out).
void PictureScaler::Axis::Build(int outSize, int sourceSize, int upscale) {
  const int64_t scaled = static_cast<int64_t>(upscale) * sourceSize;
  const int64_t unit = 2 * static_cast<int64_t>(outSize);
  taps.assign(outSize, Tap{});
  for (int i = 0; i < outSize; ++i) {
    const int64_t position = std::max<int64_t>(0, (2 * i + 1) * scaled - outSize);
    int64_t texel = position / unit, fraction = position % unit;
    if (texel >= scaled - 1) {
      texel = scaled - 1;
      fraction = 0;
    }
    Tap& tap = taps[i];
    tap.s0 = tap.s1 = static_cast<uint16_t>(texel / upscale);
    const auto next = static_cast<uint16_t>((texel + 1) / upscale);
    const auto weight = static_cast<uint16_t>(fraction * kWeightOne / unit);
    if (next != tap.s0 && weight > 0) {
      tap.s1 = next;
      tap.weight = weight;
    }
  }
  firstReaching.assign(sourceSize, outSize);
  lastReaching.assign(sourceSize, -1);
  int s = 0;
  for (int i = 0; i < outSize; ++i)
    while (s < sourceSize && s <= taps[i].s1) firstReaching[s++] = i;
  s = sourceSize - 1;
  for (int i = outSize - 1; i >= 0; --i)
    while (s >= 0 && s >= taps[i].s0) lastReaching[s--] = i;
}

PictureScaler::PictureScaler() : last_(kScreenBytes, 0) {
  written_.reserve(kScreenHeight + 1);
}

void PictureScaler::SetOutput(uint8_t* pixels, int pitchBytes, int width, int height) {
  out_ = pixels;
  pitch_ = pitchBytes;
  width_ = width;
  height_ = height;
  for (int y = 0; y < height; ++y)
    memset(pixels + static_cast<std::ptrdiff_t>(y) * pitchBytes, 0, width * 4);
  fit_ = FitPicture(width, height);
  upscale_ = UpscaleFor(fit_);
  wholeMultiple_ = fit_.w == upscale_ * kScreenWidth && fit_.h == upscale_ * kScreenHeight;
  if (!wholeMultiple_) {
    columns_.Build(fit_.w, kScreenWidth, upscale_);
    rows_.Build(fit_.h, kScreenHeight, upscale_);
    for (auto& line : lines_) line.assign(fit_.w, 0);
  }
  redrawAll_ = true;
}

void PictureScaler::SetColours(const uint32_t* colours) {
  memcpy(colours_, colours, sizeof colours_);
  redrawAll_ = true;
}

const std::vector<PixelRect>& PictureScaler::Redraw() {
  redrawAll_ = true;
  return Show(last_.data());
}

const std::vector<PixelRect>& PictureScaler::Show(const uint8_t* picture) {
  written_.clear();
  if (redrawAll_) {
    if (picture != last_.data()) memcpy(last_.data(), picture, kScreenBytes);
    redrawAll_ = false;
    if (!out_) return written_;
    if (fit_.w > 0 && fit_.h > 0) ConvertBand(0, kScreenHeight - 1, 0, kScreenWidth - 1);
    written_.assign(1, PixelRect{0, 0, width_, height_});  // the bars too
    return written_;
  }
  // Bands of consecutive changed rows, each as wide as the widest change in it.
  for (int y = 0; y < kScreenHeight;) {
    const int first = y;
    int x0 = kScreenWidth, x1 = -1;
    for (; y < kScreenHeight; ++y) {
      const uint8_t* now = picture + y * kScreenWidth;
      uint8_t* was = &last_[y * kScreenWidth];
      if (memcmp(now, was, kScreenWidth) == 0) break;
      int left = 0, right = kScreenWidth - 1;
      while (now[left] == was[left]) ++left;
      while (now[right] == was[right]) --right;
      memcpy(was + left, now + left, right - left + 1);
      x0 = std::min(x0, left);
      x1 = std::max(x1, right);
    }
    if (y == first) {
      ++y;
    } else if (out_ && fit_.w > 0 && fit_.h > 0) {
      ConvertBand(first, y - 1, x0, x1);
    }
  }
  return written_;
}

void PictureScaler::ConvertBand(int y0, int y1, int x0, int x1) {
  if (wholeMultiple_)
    ConvertWholeMultiple(y0, y1, x0, x1);
  else
    ConvertSmooth(y0, y1, x0, x1);
}

void PictureScaler::ConvertWholeMultiple(int y0, int y1, int x0, int x1) {
  const int k = upscale_, count = x1 - x0 + 1;
  for (int t = y0; t <= y1; ++t) {
    const uint8_t* source = &last_[t * kScreenWidth + x0];
    uint32_t* row = OutputRow(t * k) + x0 * k;
    if (k == 1) {
      for (int i = 0; i < count; ++i) row[i] = colours_[source[i]];
    } else {
      uint32_t* p = row;
      for (int i = 0; i < count; ++i) {
        const uint32_t c = colours_[source[i]];
        for (int j = 0; j < k; ++j) *p++ = c;
      }
    }
    for (int r = 1; r < k; ++r) memcpy(OutputRow(t * k + r) + x0 * k, row, count * k * 4);
  }
  written_.push_back(PixelRect{fit_.x + x0 * k, fit_.y + y0 * k, count * k, (y1 - y0 + 1) * k});
}

void PictureScaler::ScaleRow(int sourceRow, int c0, int c1, uint32_t* line) const {
  const uint8_t* source = &last_[sourceRow * kScreenWidth];
  for (int c = c0; c <= c1; ++c) {
    const Tap& tap = columns_.taps[c];
    const uint32_t a = colours_[source[tap.s0]];
    line[c] = tap.weight ? Blend(a, colours_[source[tap.s1]], tap.weight) : a;
  }
}

void PictureScaler::ConvertSmooth(int y0, int y1, int x0, int x1) {
  const int c0 = columns_.firstReaching[x0], c1 = columns_.lastReaching[x1];
  const int r0 = rows_.firstReaching[y0], r1 = rows_.lastReaching[y1];
  if (c0 > c1 || r0 > r1) return;  // a change that a downscale skips over
  int held[2] = {-1, -1};          // the source row each line holds
  auto fetch = [&](int sourceRow, int keep) -> const uint32_t* {
    for (int i = 0; i < 2; ++i)
      if (held[i] == sourceRow) return lines_[i].data();
    const int slot = held[0] == keep ? 1 : 0;
    ScaleRow(sourceRow, c0, c1, lines_[slot].data());
    held[slot] = sourceRow;
    return lines_[slot].data();
  };
  for (int r = r0; r <= r1; ++r) {
    const Tap& tap = rows_.taps[r];
    const uint32_t* a = fetch(tap.s0, tap.s1);
    uint32_t* out = OutputRow(r);
    if (tap.weight == 0) {
      memcpy(out + c0, a + c0, (c1 - c0 + 1) * 4);
    } else {
      const uint32_t* b = fetch(tap.s1, tap.s0);
      for (int c = c0; c <= c1; ++c) out[c] = Blend(a[c], b[c], tap.weight);
    }
  }
  written_.push_back(PixelRect{fit_.x + c0, fit_.y + r0, c1 - c0 + 1, r1 - r0 + 1});
}
