// Software drawing into 640 x 400 byte buffers: fills, copies, sprites, lines and text.
#pragma once
#include <cstdint>

struct Sprite {
  uint8_t* pixels = nullptr;  // width x height bytes, row-major; 0 is transparent
  int32_t width = 0;
  int32_t height = 0;
};

constexpr int kFontCount = 4;
constexpr int kGlyphsPerFont = 48;
constexpr int kFont2Glyphs = 11;
constexpr int kFont2OtherGlyph = 10;
extern Sprite FontGlyphs[kFontCount][kGlyphsPerFont];

void FillWords(uint8_t* target, uint32_t count, uint8_t value);
void CopyWords(const uint8_t* source, uint8_t* target, uint32_t count);
void DrawSpriteOpaque(uint8_t* target, int32_t x, int32_t y, const Sprite& sprite);
void DrawSprite(uint8_t* target, int32_t x, int32_t y, const Sprite& sprite);
void DrawSpriteScaled(uint8_t* target, int32_t x, int32_t y, uint32_t scaleX, uint32_t scaleY,
                      const Sprite& sprite);
void DrawSpriteDotted(uint8_t* target, int32_t x, int32_t y, uint32_t scaleX, uint32_t scaleY,
                      const Sprite& sprite);
void DrawLine(uint8_t* target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t colour);
// Centred horizontally on x, each glyph centred vertically on y; font 0..4 (4 = font 3 at half
// size).
void DrawText(uint8_t* target, const char* text, int32_t x, int32_t y, int font);
// The same for a text of a given length (it need not be zero-terminated).
void DrawTextN(uint8_t* target, const char* text, uint32_t length, int32_t x, int32_t y, int font);

// Glyph index of a character in fonts 0, 1 and 3; -1 when it has none.
int GlyphIndex(char c);
// Character spacing of a font, from the width of its glyph 0.
int FontSpacing(int font);
