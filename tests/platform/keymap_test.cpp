// SDL 2 key codes to the SDL 1.2 key symbols the scanmap is indexed by, written out in both
// numberings as the two libraries define them.
#include "keymap.h"

#include <gtest/gtest.h>

#include <vector>

#include "keyboard.h"
#include "test_support.h"

namespace {
constexpr uint32_t Key(uint32_t position) {
  return position | (1u << 30);
}

// Every key without a character, and a few characters outside ASCII: runs of keys numbered in
// the same order in both, then single keys.
const std::vector<std::pair<uint32_t, uint16_t>> kTranslations = [] {
  std::vector<std::pair<uint32_t, uint16_t>> t;
  const struct {
    uint32_t code;
    uint16_t symbol, count;
  } runs[] = {{Key(58), 282, 12}, {Key(104), 294, 3}, {Key(89), 257, 9}};  // F1, F13, keypad 1
  for (const auto& run : runs)
    for (uint16_t i = 0; i < run.count; ++i) t.emplace_back(run.code + i, run.symbol + i);
  t.insert(t.end(), {
                        {Key(98), 256},  {Key(99), 266},  {Key(84), 267},  {Key(85), 268},
                        {Key(86), 269},  // keypad
                        {Key(87), 270},  {Key(88), 271},  {Key(103), 272}, {Key(82), 273},
                        {Key(81), 274},  // arrows
                        {Key(79), 275},  {Key(80), 276},  {Key(73), 277},  {Key(74), 278},
                        {Key(77), 279},  {Key(75), 280},  {Key(78), 281},  {Key(83), 300},
                        {Key(57), 301},  {Key(71), 302},  // locks
                        {Key(229), 303}, {Key(225), 304}, {Key(228), 305}, {Key(224), 306},
                        {Key(230), 307}, {Key(226), 308}, {Key(227), 311}, {Key(231), 312},
                        {Key(257), 313}, {Key(117), 315}, {Key(70), 316},  {Key(154), 317},
                        {Key(101), 319}, {Key(118), 319}, {Key(102), 320}, {Key(122), 322},
                        {Key(156), 12},  {Key(72), 19},   {0x20AC, 321},   {0xE4, 228},
                        {0xDF, 223},     {0xFF, 255},
                    });
  return t;
}();

TEST(KeyMapTest, KeysTranslateToTheirSdl12SymbolsAndEveryMappedSymbolCanArrive) {
  for (const auto& [code, symbol] : kTranslations)
    EXPECT_EQ(KeySymbolOf(code), symbol) << "key code " << std::hex << code;
  for (uint32_t ascii = 0; ascii < 128; ++ascii) EXPECT_EQ(KeySymbolOf(ascii), ascii);
  // Keys SDL 1.2 had no symbol for arrive as its unknown symbol 0.
  for (uint32_t none : {128u, 159u, 0x100u, 0x430u, Key(0), Key(100), Key(107), Key(232), Key(300),
                        Key(511), 0xFFFFFFFFu})
    EXPECT_EQ(KeySymbolOf(none), 0) << "key code " << std::hex << none;
  if (!GeneratedDataAvailable()) GTEST_SKIP() << "the data set is not generated";
  const auto scanmap = ReadFileBytes(std::filesystem::path(PLONKIX_DATA_DIR) / "scanmap");
  for (int symbol = 128; symbol < static_cast<int>(scanmap.size()); ++symbol) {
    bool arrives = scanmap[symbol] >= kKeyStateSize;  // or the data set ignores it
    for (const auto& [code, translated] : kTranslations) arrives |= translated == symbol;
    EXPECT_TRUE(arrives) << "no SDL 2 key reaches symbol " << symbol;
  }
}
}  // namespace
