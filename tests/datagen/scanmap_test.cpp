// The generated key table, loaded the way the game loads it and checked against the game's own
// name-entry characters.
#include "keyboard.h"
#include "keysyms.h"
#include "parts.h"
#include "test_support.h"

namespace {
class ScanMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteScanMap(dir_.path() / "data");
    bytes_ = ReadFileBytes(dir_.DataFile("scanmap"));
    LoadScanMap("data/scanmap");
  }
  HeadlessSession session_;
  ScratchDir dir_;
  std::vector<uint8_t> bytes_;
};

TEST_F(ScanMapTest, EveryTypableCharacterComesBackFromItsKey) {
  for (char c : std::string("abcdefghijklmnopqrstuvwxyz0123456789,.-#+'* ")) {
    const uint8_t scancode = ScanMap[static_cast<uint8_t>(c)];
    ASSERT_LT(scancode, 128) << "'" << c << "' is not mapped";
    EXPECT_EQ(ScancodeToChar(scancode), c) << "'" << c << "' maps to " << int(scancode);
  }
}

TEST_F(ScanMapTest, TheScreensKeysAndTheControlKeysAPlayerMightChooseReachTheGame) {
  // The keys the screens look for themselves; in the German layout "z" and "y" trade places
  // against a US keyboard.
  const uint16_t keys[][2] = {{keysym::kEscape, scan::kEscape},
                              {keysym::kReturn, scan::kReturn},
                              {keysym::kSpace, scan::kSpace},
                              {keysym::kUp, scan::kUp},
                              {keysym::kDown, scan::kDown},
                              {keysym::kLeft, scan::kLeft},
                              {keysym::kRight, scan::kRight},
                              {keysym::kLShift, scan::kLShift},
                              {keysym::kRShift, scan::kRShift},
                              {'z', 21},
                              {'y', 44}};
  for (const auto& k : keys) EXPECT_EQ(ScanMap[k[0]], k[1]) << "symbol " << k[0];
  for (uint16_t key :
       {keysym::kBackspace, keysym::kTab, keysym::kInsert, keysym::kHome, keysym::kPageUp,
        keysym::kDelete, keysym::kEnd, keysym::kPageDown, keysym::kLCtrl, keysym::kRCtrl,
        keysym::kLAlt, keysym::kKpEnter, keysym::kKpPlus, keysym::kKpMinus, keysym::kKpMultiply,
        keysym::kKpDivide, keysym::kSemicolon, keysym::kSlash, keysym::kLeftBracket})
    EXPECT_LT(ScanMap[key], 128) << "symbol " << key;
  for (int k = 0; k < 10; ++k) EXPECT_EQ(ScanMap[keysym::kF1 + k], 59 + k);
  EXPECT_EQ(ScanMap[keysym::kF1 + 10], 87);
  EXPECT_EQ(ScanMap[keysym::kF12], 88);
  // The keypad's digits sit where a numeric keypad has them: 7 8 9 / 4 5 6 / 1 2 3 / 0.
  const uint8_t keypad[10] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};
  for (int d = 0; d <= 9; ++d) EXPECT_EQ(ScanMap[keysym::kKp0 + d], keypad[d]) << "keypad " << d;
}

TEST_F(ScanMapTest, KeysTheGameIgnoresAreDropped) {
  for (int world = keysym::kWorld0; world <= keysym::kWorld95; ++world)
    EXPECT_GE(ScanMap[world], 128) << "world key " << world;
  for (uint16_t key : {uint16_t{0}, keysym::kLMeta, keysym::kRMeta, keysym::kLSuper,
                       keysym::kRSuper, keysym::kCompose, keysym::kPower, keysym::kMode,
                       keysym::kMenu, keysym::kUndo, keysym::kEuro})
    EXPECT_GE(ScanMap[key], 128) << "symbol " << key;
  // Symbols SDL never sends (gaps in its numbering) are dropped too, never sent to key 0; a
  // short file would leave them 0.
  EXPECT_EQ(bytes_.size(), static_cast<size_t>(kScanMapSize));
  for (int sym = 0; sym < kScanMapSize; ++sym) EXPECT_NE(ScanMap[sym], 0) << "symbol " << sym;
}
}  // namespace
