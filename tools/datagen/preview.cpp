#include "preview.h"

#include <cstdio>
#include <cstring>

#include "beans.h"
#include "draw.h"
#include "fonts.h"
#include "game_art.h"
#include "game_data.h"
#include "game_screen.h"
#include "info_pages.h"
#include "main_menu.h"
#include "master_palette.h"
#include "options_screen.h"
#include "player.h"
#include "png_out.h"

namespace {

constexpr int kScreenW = 640, kScreenH = 400;

// The sprite the game screen shows for a cell's link bits at an animation step (0..31).
int BeanSpriteFor(int links, int step) {
  return kFrameTable[kLinkShape[links & (kLinkShapes - 1)]][step & (kAnimSteps - 1)];
}

// Sprites cut from the pictures, held for the drawing routines.
struct PreviewSprites {
  std::vector<IndexedImage> store;
  Sprite beans[7][kBeanSpriteCount];
  Sprite frameTop, frameTopMirror, frameBottom, frameBottomMirror, frameSide, frameSideMirror;
  Sprite chain[9], start[2], result[2], logo, tile, marker, markerMirror, anim;

  Sprite Keep(IndexedImage image) {
    store.push_back(std::move(image));
    IndexedImage& kept = store.back();
    return Sprite{kept.pixels.data(), kept.width, kept.height};
  }
  Sprite Mirror(const Sprite& s) {
    IndexedImage m(s.width, s.height);
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) m.At(s.width - 1 - x, y) = s.pixels[y * s.width + x];
    return Keep(std::move(m));
  }
};

void CutAll(const MasterPictures& m, const std::vector<IndexedImage>& animation,
            PreviewSprites& s) {
  s.store.reserve(800);
  for (int font = 0; font < 4; ++font) {
    const int count = font == 2 ? kDigitGlyphs : kLetterGlyphs;
    for (int k = 0; k < count; ++k) FontGlyphs[font][k] = s.Keep(Cut(m, GlyphRect(font, k)));
  }
  for (int c = 1; c <= 6; ++c)
    for (int n = 0; n < (c == 1 ? kBlackBeanSpriteCount : kBeanSpriteCount); ++n)
      s.beans[c][n] = s.Keep(Cut(m, BeanRect(c, n)));
  s.frameTop = s.Keep(Cut(m, FrameTopRect()));
  s.frameTopMirror = s.Mirror(s.frameTop);
  s.frameBottom = s.Keep(Cut(m, FrameBottomRect()));
  s.frameBottomMirror = s.Mirror(s.frameBottom);
  s.frameSide = s.Keep(Cut(m, FrameSideRect()));
  s.frameSideMirror = s.Mirror(s.frameSide);
  for (int k = 0; k < 9; ++k) s.chain[k] = s.Keep(Cut(m, ChainRect(k)));
  for (int k = 0; k < 2; ++k) s.start[k] = s.Keep(Cut(m, StartRect(k)));
  for (int k = 0; k < 2; ++k) s.result[k] = s.Keep(Cut(m, ResultRect(k)));
  s.logo = s.Keep(Cut(m, LogoRect()));
  s.tile = s.Keep(Cut(m, TileRect()));
  s.marker = s.Keep(Cut(m, MarkerRect()));
  s.markerMirror = s.Mirror(s.marker);
  s.anim = s.Keep(animation.empty() ? IndexedImage(kAnimWidth, kAnimHeight) : animation[3]);
}

bool Save(const uint8_t* screen, const std::filesystem::path& file) {
  IndexedImage image(kScreenW, kScreenH);
  memcpy(image.pixels.data(), screen, image.pixels.size());
  return WriteIndexedPng(image, MasterPalette(), file.string(), 2);
}

// A field of colour codes (0 empty), column-major by row: field[r][c].
struct PreviewField {
  int colour[kVisibleRows][kColumns] = {};
  int step[kVisibleRows][kColumns] = {};
};

int Links(const PreviewField& f, int c, int r) {
  const int k = f.colour[r][c];
  if (k < 2) return 0;
  int links = 0;
  if (c > 0 && f.colour[r][c - 1] == k) links |= kLinkLeft;
  if (c < kColumns - 1 && f.colour[r][c + 1] == k) links |= kLinkRight;
  if (r > 0 && f.colour[r - 1][c] == k) links |= kLinkUp;
  if (r < kVisibleRows - 1 && f.colour[r + 1][c] == k) links |= kLinkDown;
  return links;
}

void DrawField(uint8_t* screen, const PreviewSprites& s, const PreviewField& f, int p) {
  for (int r = 0; r < kVisibleRows; ++r)
    for (int c = 0; c < kColumns; ++c) {
      const int k = f.colour[r][c];
      if (!k) continue;
      const int n = BeanSpriteFor(Links(f, c, r), f.step[r][c]);
      DrawSprite(screen, kFieldOriginX[p] + kCellWidth * c, kFieldOriginY + kCellHeight * r,
                 s.beans[k][k == 1 ? n % 10 : n]);
    }
}

void DrawFrames(uint8_t* screen, const PreviewSprites& s) {
  DrawSprite(screen, kPanelX[1], kScoreY, s.frameTop);
  DrawSprite(screen, kPanelX[2], kScoreY, s.frameTopMirror);
  DrawSprite(screen, kPanelX[1], kFrameBottomY, s.frameBottom);
  DrawSprite(screen, kPanelX[2], kFrameBottomY, s.frameBottomMirror);
  DrawSprite(screen, kFrameSideX[0], kFrameSideY, s.frameSide);
  DrawSprite(screen, kFrameSideX[1], kFrameSideY, s.frameSideMirror);
  DrawSprite(screen, kFrameSideX[2], kFrameSideY, s.frameSide);
  DrawSprite(screen, kFrameSideX[3], kFrameSideY, s.frameSideMirror);
}

// A well-filled board: stacks of linked colours, a few black beans, holes near the top.
PreviewField SampleField(unsigned seed, int height) {
  PreviewField f;
  unsigned state = seed;
  const auto next = [&state](unsigned n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  for (int c = 0; c < kColumns; ++c) {
    const int top = kVisibleRows - height + static_cast<int>(next(4));
    for (int r = kVisibleRows - 1; r >= top && r >= 0; --r) {
      int colour = 2 + static_cast<int>(next(5));
      // Favour the colour to the left or below, so groups form as in a real game.
      if (next(3) == 0 && c > 0 && f.colour[r][c - 1] >= 2) colour = f.colour[r][c - 1];
      if (next(3) == 0 && r < kVisibleRows - 1 && f.colour[r + 1][c] >= 2)
        colour = f.colour[r + 1][c];
      if (next(9) == 0) colour = 1;
      f.colour[r][c] = colour;
      f.step[r][c] = static_cast<int>(next(32));
    }
  }
  return f;
}

void DrawStatusPanel(uint8_t* screen, const PreviewSprites& s, int levelDigits) {
  const char* messages[kMessageLines] = {"quad(4)....", "....triple(3)", "super(5)....",
                                         "inc(speed)....", "....awesome(9)"};
  for (int k = 0; k < kMessageLines; ++k)
    DrawText(screen, messages[k], kPanelCentreX, kMessageY + kMessageLineStep * k, 1);
  DrawText(screen, "71", kPanelCentreX, kFpsY, 2);
  char level[16];
  snprintf(level, sizeof level, "level:%d", levelDigits);
  DrawText(screen, level, kLevelTextX[1], kLevelTextY, 1);
  DrawText(screen, "level:4", kLevelTextX[2], kLevelTextY, 1);
  const int counts[3][7] = {{}, {0, 4, 12, 7, 30, 2, 19}, {0, 11, 3, 25, 9, 16, 1}};
  for (int p = 1; p <= 2; ++p)
    for (int k = 1; k <= 6; ++k)
      for (int i = 0; i < counts[p][k]; ++i) {
        const int x = p == 1 ? kColourBarX[1] + 2 * i : kColourBarX[2] - 2 * i;
        DrawLine(screen, x, kColourBarTop + kColourBarRowStep * k, x,
                 kColourBarTop + kColourBarRowStep * k + kColourBarHeight,
                 static_cast<uint8_t>(kColourBarIndex[k]));
      }
  DrawSpriteDotted(screen, kAnimX, kAnimY, 200, 200, s.anim);
}

void ComposeGame(uint8_t* screen, const MasterPictures& m, const PreviewSprites& s,
                 bool panelTexts) {
  memcpy(screen, m.background.pixels.data(), kScreenW * kScreenH);
  DrawText(screen, "ALICE", kNameX[1], kNameY, 1);
  DrawText(screen, "BOBBY", kNameX[2], kNameY, 1);
  if (panelTexts) DrawStatusPanel(screen, s, 3);
  PreviewField f1 = SampleField(7, 9), f2 = SampleField(12, 12);
  // Player 1's falling pair, half way into a cell, and a sliding one for player 2.
  DrawSprite(screen, kFieldOriginX[1] + kCellWidth * 2, kFieldOriginY + kCellHeight * 1 + 14,
             s.beans[4][0]);
  DrawSprite(screen, kFieldOriginX[1] + kCellWidth * 2, kFieldOriginY + kCellHeight * 0 + 14,
             s.beans[6][0]);
  DrawField(screen, s, f1, 1);
  DrawField(screen, s, f2, 2);
  DrawFrames(screen, s);
  DrawText(screen, "12345", kPanelX[1], kScoreY, 2);
  DrawText(screen, "9876500", kPanelX[2], kScoreY, 2);
  for (int p = 1; p <= 2; ++p) {
    DrawSprite(screen, kNextPairX[p], kNextPairAY, s.beans[p == 1 ? 3 : 5][0]);
    DrawSprite(screen, kNextPairX[p], kNextPairBY, s.beans[p == 1 ? 2 : 5][0]);
  }
}

}  // namespace

bool WritePreviews(const MasterPictures& m, const std::vector<IndexedImage>& animation,
                   const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  static PreviewSprites s;
  s = PreviewSprites{};
  CutAll(m, animation, s);
  std::vector<uint8_t> screen(kScreenW * kScreenH);
  uint8_t* sc = screen.data();
  bool ok = true;

  // The game in full swing: popups, bursts, a chain display, a warning, player 2 topped out.
  ComposeGame(sc, m, s, true);
  DrawText(sc, "1500", kFieldOriginX[1] + kCellWidth * 3, kFieldOriginY + kCellHeight * 6 - 20, 1);
  DrawText(sc, "500", kFieldOriginX[2] + kCellWidth * 1, kFieldOriginY + kCellHeight * 3 - 8, 1);
  DrawSpriteDotted(sc, kFieldOriginX[1] + kCellWidth * 4, kFieldOriginY + kCellHeight * 5, 180, 180,
                   s.beans[3][0]);
  DrawSpriteDotted(sc, kFieldOriginX[1] + kCellWidth * 5, kFieldOriginY + kCellHeight * 5, 340, 340,
                   s.beans[3][0]);
  DrawSprite(sc, kPanelX[1], kChainPictureY, s.chain[3]);
  DrawSprite(sc, kPanelX[1], kChainUnderY, s.chain[1]);
  DrawText(sc, "3200 pts.", kPanelX[1], kChainTextY, 0);
  DrawText(sc, "danger -12-", kPanelX[1], kLevelTextY, 0);
  DrawText(sc, "game over", kPanelX[2], 190, 0);
  ok &= Save(sc, dir / "game.png");

  // The counter attack, the pause question and the other chain pictures.
  ComposeGame(sc, m, s, true);
  DrawSprite(sc, kPanelX[1], kChainPictureY, s.chain[0]);
  DrawText(sc, "20000 pts.", kPanelX[1], kChainTextY, 0);
  DrawSprite(sc, kPanelX[2], kChainPictureY, s.chain[8]);
  DrawSprite(sc, kPanelX[2], kChainUnderY, s.chain[1]);
  DrawText(sc, "65400 pts.", kPanelX[2], kChainTextY, 0);
  DrawText(sc, "paused", 320, 314, 0);
  DrawText(sc, "exit (y/n)", 322, 338, 0);
  ok &= Save(sc, dir / "game2.png");

  memset(sc, 0, screen.size());
  for (int k = 2; k <= 8; ++k)
    DrawSprite(sc, k % 2 ? 170 : 470, 40 + 50 * ((k - 2) / 2), s.chain[k]);
  DrawSprite(sc, 470, 215, s.chain[0]);
  DrawSprite(sc, 170, 215, s.chain[1]);
  DrawSprite(sc, 170, 300, s.result[0]);
  DrawSprite(sc, 470, 360, s.result[1]);
  ok &= Save(sc, dir / "chains.png");

  // The start sequence: empty fields, names on their plates, the sign.
  memcpy(sc, m.background.pixels.data(), screen.size());
  DrawStatusPanel(sc, s, 1);
  DrawFrames(sc, s);
  DrawText(sc, "0", kPanelX[1], kScoreY, 2);
  DrawText(sc, "0", kPanelX[2], kScoreY, 2);
  DrawText(sc, "ALICE", kNameX[1], kNameY, 1);
  DrawText(sc, "BOBBY", kNameX[2], kNameY, 1);
  DrawSprite(sc, 320, 150, s.start[0]);
  ok &= Save(sc, dir / "start.png");
  DrawSprite(sc, 320, 150, s.start[1]);
  ok &= Save(sc, dir / "start_flash.png");

  // The results over the game screen.
  ComposeGame(sc, m, s, true);
  DrawText(sc, "game over", kPanelX[2], 190, 0);
  DrawText(sc, "maximum combo 5 hits", 118, 240, 1);
  DrawText(sc, "6400 pts.scored", 118, 255, 1);
  DrawText(sc, "212 beans killed", 118, 280, 1);
  DrawSprite(sc, 160, 60, s.result[0]);
  DrawSprite(sc, 480, 340, s.result[1]);
  DrawText(sc, "maximum combo 2 hits", 522, 240, 1);
  DrawText(sc, "800 pts.scored", 522, 255, 1);
  DrawText(sc, "97 beans killed", 522, 280, 1);
  ok &= Save(sc, dir / "results.png");

  // The menu's screens, drawn by the game's own routines and texts over the menu's background:
  // the picture, the logo whole as the zoom ends, its dots as they stand, and the 40 tiles.
  logoSprite = s.logo;
  markerSprite = s.marker;
  markerMirrorSprite = s.markerMirror;
  std::vector<uint8_t> back(screen.size());
  memcpy(back.data(), m.menu.pixels.data(), back.size());
  DrawSpriteDotted(back.data(), kLogoX, kLogoY, kLogoDotsScale, kLogoDotsScale, s.logo);
  ok &= Save(back.data(), dir / "logo_dots.png");
  memcpy(back.data(), m.menu.pixels.data(), back.size());
  DrawSprite(back.data(), kLogoX, kLogoY, s.logo);
  ok &= Save(back.data(), dir / "logo.png");
  for (int x = 75; x <= 675; x += 150)
    for (int y = 25; y <= 375; y += 50) DrawSprite(back.data(), x, y, s.tile);
  memcpy(sc, back.data(), screen.size());
  DrawMenuChoice(sc, kItemHumanVsCpu);
  ok &= Save(sc, dir / "menu.png");
  const char* players[2] = {"alice", "bobby"};
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerConfig& config = PlayerState[p].config;
    config = PlayerConfig{};
    config.dropSpeed = p;
    config.beansToLink = 4;
    config.cpuStrength = 3;
    config.mouseDelay = 10;
    config.name.capacity = config.name.length = kNameCapacity;
    memcpy(config.name.chars, players[p - 1], kNameCapacity);
  }
  memcpy(sc, back.data(), screen.size());
  DrawOptionsPage(sc, kRowName);
  ok &= Save(sc, dir / "options.png");
  memcpy(sc, back.data(), screen.size());
  DrawPageLines(sc, kCreditLines);
  ok &= Save(sc, dir / "credits.png");
  memcpy(sc, back.data(), screen.size());
  DrawPageLines(sc, kHelpLines);
  ok &= Save(sc, dir / "help.png");

  // After-game page: black with the list in fonts 3 and 4 (p02's palette, the master one).
  memset(sc, 0, screen.size());
  DrawText(sc, "killer kings", 320, 20, 3);
  const char* names[8] = {"alice", "bobby", "chris", "dora", "emil", "fritz", "gina", ""};
  for (int r = 1; r <= 8; ++r) {
    char line[64];
    snprintf(line, sizeof line, "%d.%s  %010d pts.", r, names[r - 1], 100000 / r);
    DrawText(sc, line, 320, 44 * r + 18, 4);
    snprintf(line, sizeof line, "%d beans killed", 400 / r);
    DrawText(sc, line, 320, 44 * r + 38, 4);
  }
  ok &= Save(sc, dir / "aftergame.png");

  // Every link shape through its 32 animation steps (one row per shape), on the well colour.
  memcpy(sc, m.background.pixels.data(), screen.size());
  for (int links = 0; links < 16; ++links)
    for (int step = 0; step < 16; ++step)
      DrawSprite(sc, 20 + 38 * step, 14 + 24 * links,
                 s.beans[2 + links % 5][BeanSpriteFor(links, step * 2)]);
  ok &= Save(sc, dir / "shapes.png");
  return ok;
}
