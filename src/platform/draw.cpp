#include "draw.h"

#include <cstring>
#include <utility>

#include "display.h"

Sprite FontGlyphs[kFontCount][kGlyphsPerFont];

void FillWords(uint8_t* target, uint32_t count, uint8_t value) {
  // The byte is sign-extended into the word, so every byte of the word gets the same value.
  memset(target, value, static_cast<size_t>(count) * 4);
}

void CopyWords(const uint8_t* source, uint8_t* target, uint32_t count) {
  memcpy(target, source, static_cast<size_t>(count) * 4);
}

namespace {
// Clipped placement of an unscaled sprite centred on (x, y).
struct Placement {
  int64_t left, top, right, bottom;  // target rectangle, clipped
  int64_t skipX, skipY;              // sprite columns and rows cut off at the left and top
};

bool PlaceUnscaled(int32_t x, int32_t y, const Sprite& sprite, Placement& p) {
  if (!sprite.pixels || sprite.width <= 0 || sprite.height <= 0) return false;
  p.left = static_cast<int64_t>(x) - static_cast<uint32_t>(sprite.width) / 2;
  p.top = static_cast<int64_t>(y) - static_cast<uint32_t>(sprite.height) / 2;
  p.right = p.left + sprite.width;
  p.bottom = p.top + sprite.height;
  p.skipX = p.skipY = 0;
  if (p.left < 0) {
    p.skipX = -p.left;
    p.left = 0;
  }
  if (p.right > kScreenWidth) p.right = kScreenWidth;
  if (p.top < 0) {
    p.skipY = -p.top;
    p.top = 0;
  }
  if (p.bottom > kScreenHeight) p.bottom = kScreenHeight;
  return p.right > p.left && p.bottom > p.top;
}

// Placement of a scaled sprite: the target rectangle and where the source walk starts.
struct ScaledPlacement {
  int64_t left, top, right, bottom;
  int64_t srcX0, fracX0, srcY0, fracY0;
};

bool PlaceScaled(int32_t x, int32_t y, uint32_t scaleX, uint32_t scaleY, const Sprite& sprite,
                 ScaledPlacement& p) {
  if (!sprite.pixels || sprite.width <= 0 || sprite.height <= 0 || scaleX == 0 || scaleY == 0)
    return false;
  const int64_t sx = scaleX, sy = scaleY;
  const int64_t w = sx * sprite.width / 100, h = sy * sprite.height / 100;
  p.left = x - sx * sprite.width / 200;
  p.top = y - sy * sprite.height / 200;
  p.right = p.left + w < kScreenWidth ? p.left + w : kScreenWidth;
  p.bottom = p.top + h < kScreenHeight ? p.top + h : kScreenHeight;
  p.srcX0 = p.fracX0 = p.srcY0 = p.fracY0 = 0;
  if (p.left < 0) {
    p.srcX0 = (-100 * p.left) / sx;
    p.fracX0 = (-100 * p.left) % sx;
    p.left = 0;
  }
  if (p.top < 0) {
    p.srcY0 = (-100 * p.top) / sy;
    p.fracY0 = (-100 * p.top) % sy;
    p.top = 0;
  }
  return p.right > p.left && p.bottom > p.top;
}
}  // namespace

void DrawSpriteOpaque(uint8_t* target, int32_t x, int32_t y, const Sprite& sprite) {
  Placement p;
  if (!PlaceUnscaled(x, y, sprite, p)) return;
  const size_t rowBytes = static_cast<size_t>(p.right - p.left);
  for (int64_t ty = p.top; ty < p.bottom; ++ty) {
    const uint8_t* src = sprite.pixels + (ty - p.top + p.skipY) * sprite.width + p.skipX;
    memcpy(target + ty * kScreenWidth + p.left, src, rowBytes);
  }
}

void DrawSprite(uint8_t* target, int32_t x, int32_t y, const Sprite& sprite) {
  Placement p;
  if (!PlaceUnscaled(x, y, sprite, p)) return;
  const int64_t count = p.right - p.left;
  for (int64_t ty = p.top; ty < p.bottom; ++ty) {
    const uint8_t* src = sprite.pixels + (ty - p.top + p.skipY) * sprite.width + p.skipX;
    uint8_t* dst = target + ty * kScreenWidth + p.left;
    for (int64_t i = 0; i < count; ++i) dst[i] = src[i] ? src[i] : dst[i];  // 0 is transparent
  }
}

namespace {
// The source column of every target column of a scaled row, walked as the fractions step.
int32_t ScaledColumns(const ScaledPlacement& p, uint32_t scaleX, int32_t* sourceColumn) {
  int64_t srcX = p.srcX0, fracX = p.fracX0;
  int32_t n = 0;
  for (int64_t tx = p.left; tx < p.right; ++tx) {
    sourceColumn[n++] = static_cast<int32_t>(srcX);
    fracX += 100;
    while (fracX >= scaleX) {
      ++srcX;
      fracX -= scaleX;
    }
  }
  return n;
}
}  // namespace

void DrawSpriteScaled(uint8_t* target, int32_t x, int32_t y, uint32_t scaleX, uint32_t scaleY,
                      const Sprite& sprite) {
  ScaledPlacement p;
  if (!PlaceScaled(x, y, scaleX, scaleY, sprite, p)) return;
  int32_t sourceColumn[kScreenWidth];
  const int32_t columns = ScaledColumns(p, scaleX, sourceColumn);
  int64_t srcY = p.srcY0, fracY = p.fracY0;
  for (int64_t ty = p.top; ty < p.bottom; ++ty) {
    const uint8_t* row = sprite.pixels + srcY * sprite.width;
    uint8_t* dst = target + ty * kScreenWidth + p.left;
    for (int32_t i = 0; i < columns; ++i) {
      const uint8_t v = row[sourceColumn[i]];
      if (v) dst[i] = v;
    }
    fracY += 100;
    while (fracY >= scaleY) {
      ++srcY;
      fracY -= scaleY;
    }
  }
}

void DrawSpriteDotted(uint8_t* target, int32_t x, int32_t y, uint32_t scaleX, uint32_t scaleY,
                      const Sprite& sprite) {
  ScaledPlacement p;
  if (!PlaceScaled(x, y, scaleX, scaleY, sprite, p)) return;
  // Each source pixel is written only at the first target column that maps to it: collect those
  // columns once, since every row walks the same way. The walk jumps from one source pixel to the
  // next instead of visiting the empty columns in between.
  int32_t dotColumn[kScreenWidth], dotSource[kScreenWidth];
  int32_t dots = 0;
  {
    int64_t srcX = p.srcX0, fracX = p.fracX0;
    int64_t tx = p.left;
    dotColumn[dots] = static_cast<int32_t>(tx);
    dotSource[dots++] = static_cast<int32_t>(srcX);
    for (;;) {
      // Columns until the fraction reaches scaleX: the next source pixel starts there.
      const int64_t steps = (static_cast<int64_t>(scaleX) - fracX + 99) / 100;
      const int64_t advance = steps < 1 ? 1 : steps;
      fracX += 100 * advance;
      while (fracX >= scaleX) {
        ++srcX;
        fracX -= scaleX;
      }
      tx += advance;
      if (tx >= p.right) break;
      dotColumn[dots] = static_cast<int32_t>(tx);
      dotSource[dots++] = static_cast<int32_t>(srcX);
    }
  }
  int64_t srcY = p.srcY0, fracY = p.fracY0;
  int64_t ty = p.top;
  while (ty < p.bottom) {
    const uint8_t* row = sprite.pixels + srcY * sprite.width;
    uint8_t* dst = target + ty * kScreenWidth;
    for (int32_t i = 0; i < dots; ++i) {
      const uint8_t v = row[dotSource[i]];
      if (v) dst[dotColumn[i]] = v;
    }
    // The target moves down 100 at a time until the fraction reaches a whole source row.
    do {
      ++ty;
      fracY += 100;
    } while (fracY < scaleY);
    while (fracY >= scaleY) {
      ++srcY;
      fracY -= scaleY;
    }
  }
}

void DrawLine(uint8_t* target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t colour) {
  // Bresenham along the longer axis: the major coordinate steps by one from the lower end, the
  // minor one steps when twice the error reaches the major distance.
  const bool steep = (y2 > y1 ? y2 - y1 : y1 - y2) > (x2 > x1 ? x2 - x1 : x1 - x2);
  int32_t a1 = steep ? y1 : x1, b1 = steep ? x1 : y1, a2 = steep ? y2 : x2, b2 = steep ? x2 : y2;
  if (a1 > a2) {
    std::swap(a1, a2);
    std::swap(b1, b2);
  }
  const int32_t major = a2 - a1, minor = b2 > b1 ? b2 - b1 : b1 - b2, step = b1 < b2 ? 1 : -1;
  auto plot = [&](int32_t a, int32_t b) {
    target[steep ? a * kScreenWidth + b : b * kScreenWidth + a] = colour;
  };
  int32_t b = b1, error = 0;
  plot(a1, b);
  for (int32_t a = a1 + 1; a <= a2; ++a) {
    error += minor;
    if (2 * error >= major) {
      b += step;
      error -= major;
    }
    plot(a, b);
  }
}

int GlyphIndex(char c) {
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= '0' && c <= '9') return 26 + (c - '0');
  switch (c) {
    case '!':
      return 36;
    case '\'':
      return 37;
    case '(':
      return 38;
    case ')':
      return 39;
    case '*':
      return 40;
    case '+':
      return 41;
    case ',':
      return 42;
    case '-':
      return 43;
    case '.':
      return 44;
    case '/':
      return 45;
    case ':':
      return 46;
    case '?':
      return 47;
    default:
      return -1;
  }
}

int FontSpacing(int font) {
  switch (font) {
    case 0:
    case 1:
    case 3:
      return FontGlyphs[font][0].width - 2;
    case 2:
      return FontGlyphs[2][0].width - 1;
    case 4:
      return FontGlyphs[3][0].width / 2 - 2;
    default:
      return 0;
  }
}

void DrawTextN(uint8_t* target, const char* text, uint32_t length, int32_t x, int32_t y, int font) {
  if (font < 0 || font > 4) return;
  const int32_t spacing = FontSpacing(font);
  const int32_t x0 = x - static_cast<int32_t>((static_cast<int64_t>(length) + 1) * spacing / 2);
  for (uint32_t i = 0; i < length; ++i) {
    const int32_t cx = x0 + static_cast<int32_t>(i + 1) * spacing;
    const char c = text[i];
    if (font == 2) {
      const int g = (c >= '0' && c <= '9') ? c - '0' : kFont2OtherGlyph;
      DrawSprite(target, cx, y, FontGlyphs[2][g]);
      continue;
    }
    const int g = GlyphIndex(c);
    if (g < 0) continue;  // no glyph: the place stays empty
    if (font == 4)
      DrawSpriteScaled(target, cx, y, 50, 50, FontGlyphs[3][g]);
    else
      DrawSprite(target, cx, y, FontGlyphs[font][g]);
  }
}

void DrawText(uint8_t* target, const char* text, int32_t x, int32_t y, int font) {
  DrawTextN(target, text, static_cast<uint32_t>(strlen(text)), x, y, font);
}
