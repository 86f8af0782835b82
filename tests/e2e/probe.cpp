// e2e-probe: what must be on the screen of the real game, computed from the data set itself, so
// the end-to-end checks follow the art wherever it changes; and what must be in its saved files.
//   e2e-probe GAMEDIR check SHOT.rgb CHECK...   a 640 x 400 RGB screenshot shows every CHECK (in
//                                               the colours of picture pNN's palette):
//     picture:N:OX:OY:x,y[;x,y...]   screen (x, y) shows pixel (x - OX, y - OY) of picture pNN
//     text:FONT:X:Y:TEXT:N           every pixel the game's DrawText writes for TEXT centred at
//                                    (X, Y) ("_" stands for a blank)
//     marker:Y:N                     the menu markers at row Y
//     pair:P:C[,C...]                in player P's well exactly the field columns C differ from
//                                    the empty game screen (where the falling pair shows)
//   e2e-probe GAMEDIR scaled SHOT.rgb W H REF.rgb   a W x H RGB screenshot of the window is the
//                                               640 x 400 one REF as the game scales it to W x H
//   e2e-probe GAMEDIR config FILE   prints player 1's drop speed and name, player 2's name,
//                                   player 1's mouse delay
//   e2e-probe DIR save-forever   saves the configuration and high-score files in DIR/data over
//                                and over, alternating between two known contents, until killed
//   e2e-probe DIR saves-whole    exit 0 when both files hold one of the two contents: a kill
//                                while saving never leaves a short or mixed file
// Status 2 when the input is wrong.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "config_file.h"
#include "engine.h"
#include "game_data.h"
#include "game_screen.h"
#include "headless.h"
#include "highscores.h"
#include "match_flow.h"
#include "picture.h"
#include "platform.h"
#include "player.h"
#include "scaler.h"

namespace {
using Pixels = std::vector<uint8_t>;

uint32_t Rgb(const uint8_t* p) {
  return p[0] << 16 | p[1] << 8 | p[2];
}

// The first `bytes` bytes of a file (with `whole`, only when it holds no more), or nothing.
Pixels Read(const char* file, size_t bytes, bool whole = true) {
  Pixels data(bytes + (whole ? 1 : 0));
  FILE* f = fopen(file, "rb");
  const size_t read = f ? fread(data.data(), 1, data.size(), f) : 0;
  if (f) fclose(f);
  data.resize(read == bytes ? bytes : 0);
  return data;
}

// Picture pNN at the size its header gives; its palette becomes the current one.
Pixels ReadPicture(int number, int& width) {
  char name[32];
  snprintf(name, sizeof name, "data/plonkix.p%02d", number);
  const Pixels h = Read(name, 128, false);
  if (h.empty()) FatalError("cannot read %s", name);
  width = (h[8] | h[9] << 8) - (h[4] | h[5] << 8) + 1;
  const int height = (h[10] | h[11] << 8) - (h[6] | h[7] << 8) + 1;
  Pixels pixels(static_cast<size_t>(width) * height);
  LoadPicture(pixels.data(), name, true, width, height);
  return pixels;
}

uint32_t Colour(uint8_t index) {
  return Rgb(&Palette[3 * index]);
}

struct Expected {
  int x, y;
  uint32_t rgb;
};

// The pixels a picture, text or marker check expects; none for anything else.
std::vector<Expected> Expect(const char* check) {
  int n = 0, x = 0, y = 0, font = 0, width = 0, used = 0;
  char text[64];
  std::vector<Expected> out;
  Pixels screen(kScreenBytes, 0);
  if (sscanf(check, "picture:%d:%d:%d:%n", &n, &x, &y, &used) == 3 && used) {
    const int ox = x, oy = y;
    const Pixels p = ReadPicture(n, width);
    for (const char* at = check + used; sscanf(at, "%d,%d%n", &x, &y, &used) == 2;
         at += used + (at[used] == ';'))
      out.push_back({x, y, Colour(p[(y - oy) * width + (x - ox)])});
    return out;
  }
  if (sscanf(check, "text:%d:%d:%d:%63[^:]:%d", &font, &x, &y, text, &n) == 5) {
    for (char* c = text; *c; ++c) *c = *c == '_' ? ' ' : *c;
    DrawText(screen.data(), text, x, y, font);
  } else if (sscanf(check, "marker:%d:%d", &y, &n) == 2) {
    DrawSprite(screen.data(), 15, y, markerSprite);
    DrawSprite(screen.data(), 625, y, markerMirrorSprite);
  } else {
    return out;
  }
  ReadPicture(n, width);  // for the palette
  for (int i = 0; i < kScreenBytes; ++i)
    if (screen[i]) out.push_back({i % kScreenWidth, i / kScreenWidth, Colour(screen[i])});
  return out;
}

// The columns of player p's well where the screenshot differs from the game screen with empty
// fields, as "c,c...".
std::string PairColumns(const Pixels& shot, int p) {
  // A bean covers the middle of its cell; anything smaller is not a bean.
  constexpr int32_t kHalfBand = 12, kLeastPixels = 100;
  static std::vector<uint32_t> empty;
  if (empty.empty()) {
    LoadPicture(BackBuffer, kMatchBackground, true, kScreenWidth, kScreenHeight);
    ResetMatch();
    ComposeGameScreen();
    for (int i = 0; i < kScreenBytes; ++i) empty.push_back(Rgb(&Palette[3 * FrameBuffer[i]]));
  }
  std::string columns;
  for (int c = 0; c < kColumns; ++c) {
    int differ = 0;
    for (int32_t y = CellY(0) - kHalfBand; y <= CellY(kBottomRow) + kHalfBand; ++y)
      for (int32_t x = CellX(p, c) - kHalfBand; x <= CellX(p, c) + kHalfBand; ++x)
        differ += Rgb(&shot[3 * (y * kScreenWidth + x)]) != empty[y * kScreenWidth + x];
    if (differ >= kLeastPixels) columns += (columns.empty() ? "" : ",") + std::to_string(c);
  }
  return columns;
}

int Check(const char* shotFile, int count, char** checks) {
  const Pixels shot = Read(shotFile, kScreenBytes * 3);
  if (shot.empty()) FatalError("cannot read a 640 x 400 RGB screenshot from %s", shotFile);
  int failed = 0;
  for (int i = 0; i < count; ++i) {
    const char* check = checks[i];
    int player = 0, used = 0;
    if (sscanf(check, "pair:%d:%n", &player, &used) == 1 && used) {
      const std::string seen = PairColumns(shot, player == 2 ? 2 : 1);
      failed += seen != check + used;
      printf("%s %s: columns %s\n", seen == check + used ? "ok" : "MISMATCH", check,
             seen.empty() ? "none" : seen.c_str());
      continue;
    }
    const std::vector<Expected> expected = Expect(check);
    if (expected.empty()) FatalError("\"%s\" is no check or expects nothing", check);
    int differ = 0;
    Expected first{};
    uint32_t firstSeen = 0;
    for (const Expected& e : expected) {
      const uint32_t seen = Rgb(&shot[3 * (e.y * kScreenWidth + e.x)]);
      if (seen != e.rgb && differ++ == 0) first = e, firstSeen = seen;
    }
    failed += differ > 0;
    if (differ == 0)
      printf("ok %s (%zu pixels)\n", check, expected.size());
    else
      printf(
          "MISMATCH %s: %d of %zu pixels differ, first at (%d, %d): %06x on screen, %06x "
          "expected\n",
          check, differ, expected.size(), first.x, first.y, firstSeen, first.rgb);
  }
  return failed ? 1 : 0;
}

// The W x H screenshot is the 640 x 400 screenshot REFERENCE as the game scales it to that size.
// A screen of the game has at most 256 colours, so the reference becomes a picture of palette
// indices again.
int CheckScaled(const char* shotFile, int width, int height, const char* referenceFile) {
  if (width < 1 || height < 1 || width > 8192 || height > 8192) FatalError("no such size");
  const size_t pixels = static_cast<size_t>(width) * height;
  const Pixels shot = Read(shotFile, pixels * 3), reference = Read(referenceFile, kScreenBytes * 3);
  if (shot.empty() || reference.empty())
    FatalError("no %d x %d RGB screenshot in %s or 640 x 400 one in %s", width, height, shotFile,
               referenceFile);
  std::vector<uint32_t> colours(256), expected(pixels);
  std::map<uint32_t, uint8_t> indices;
  Pixels picture(kScreenBytes);
  for (int i = 0; i < kScreenBytes; ++i) {
    const uint32_t rgb = Rgb(&reference[3 * i]);
    picture[i] = indices.emplace(rgb, static_cast<uint8_t>(indices.size())).first->second;
    if (indices.size() > 256) FatalError("%s has more than 256 colours", referenceFile);
    colours[picture[i]] = rgb;
  }
  PictureScaler scaler;
  scaler.SetOutput(reinterpret_cast<uint8_t*>(expected.data()), width * 4, width, height);
  scaler.SetColours(colours.data());
  scaler.Show(picture.data());
  size_t differ = 0, first = 0;
  for (size_t i = 0; i < pixels; ++i)
    if (Rgb(&shot[3 * i]) != expected[i] && differ++ == 0) first = i;
  if (differ == 0) return printf("ok: the 1x picture scaled to %d x %d\n", width, height), 0;
  printf("MISMATCH with the 1x picture scaled to %d x %d: %zu pixels differ, first at (%zu, %zu)\n",
         width, height, differ, first % width, first / width);
  return 1;
}

int ShowConfig(const char* file) {
  PlayerConfig p1{}, p2{};
  if (!ReadConfigFile(file, p1, p2)) return 1;
  printf("dropSpeed=%u name=%.*s name2=%.*s mouseDelay=%u\n", p1.dropSpeed,
         static_cast<int>(p1.name.length), p1.name.chars, static_cast<int>(p2.name.length),
         p2.name.chars, p1.mouseDelay);
  return 0;
}

// Whether the file holds exactly one of the two versions; says so when not.
template <size_t N>
bool HoldsOneOf(const char* file, const uint8_t (&versions)[2][N]) {
  const Pixels bytes = Read(file, N);
  if (!bytes.empty() &&
      (!memcmp(bytes.data(), versions[0], N) || !memcmp(bytes.data(), versions[1], N)))
    return true;
  printf("%s is neither the old nor the new version\n", file);
  return false;
}

// Two versions of each saved file that differ in every byte, and at every place: with `verify`,
// whether both files hold one of them; else both saved over and over, alternating, until killed.
int SaveStress(bool verify) {
  uint8_t cfg[2][kConfigFileBytes], hig[2][kHighScoreFileBytes];
  for (int v = 0; v < 2; ++v) {
    for (size_t i = 0; i < sizeof cfg[v]; ++i) cfg[v][i] = static_cast<uint8_t>(i * 7 + 100 * v);
    for (size_t i = 0; i < sizeof hig[v]; ++i) hig[v][i] = static_cast<uint8_t>(i * 11 + 100 * v);
  }
  if (verify) return HoldsOneOf(kConfigFile, cfg) && HoldsOneOf(kHighScoreFile, hig) ? 0 : 1;
  for (int v = 0;; v = 1 - v) {
    memcpy(&PlayerState[1].config, cfg[v], sizeof(PlayerConfig));
    memcpy(&PlayerState[2].config, cfg[v] + sizeof(PlayerConfig), sizeof(PlayerConfig));
    SavePlayerConfigs();
    memcpy(&HighScoreTable, hig[v], sizeof HighScoreTable);
    SaveHighScores();
  }
}
}  // namespace

int main(int argc, char** argv) {
  HeadlessSession session;
  const std::string command = argc >= 3 && chdir(argv[1]) == 0 ? argv[2] : "";
  try {
    if (command == "config" && argc == 4) return ShowConfig(argv[3]);
    if (command == "save-forever" || command == "saves-whole")
      return SaveStress(command == "saves-whole");
    if (command == "scaled" && argc == 7)
      return CheckScaled(argv[3], atoi(argv[4]), atoi(argv[5]), argv[6]);
    if (command == "check" && argc >= 5) {
      AllocateScreenBuffers();
      LoadGameData();
      return Check(argv[3], argc - 4, argv + 4);
    }
  } catch (const FatalErrorException& e) {
    fprintf(stderr, "e2e-probe: %s\n", e.what());
    return 2;
  }
  fprintf(stderr,
          "usage: %s DIR check SHOT.rgb CHECK... | scaled SHOT.rgb W H REF.rgb | config FILE | "
          "save-forever | saves-whole\n",
          argv[0]);
  return 2;
}
