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

TEST_F(ScanMapTest, HasOneByteForEveryKeySymbol) {
  EXPECT_EQ(bytes_.size(), 323u);
}

TEST_F(ScanMapTest, TheKeysTheScreensTestDirectly) {
  EXPECT_EQ(ScanMap[keysym::kEscape], 1);
  EXPECT_EQ(ScanMap[keysym::kReturn], 28);
  EXPECT_EQ(ScanMap[keysym::kSpace], 57);
  EXPECT_EQ(ScanMap[keysym::kUp], 72);
  EXPECT_EQ(ScanMap[keysym::kDown], 80);
  EXPECT_EQ(ScanMap[keysym::kLeft], 75);
  EXPECT_EQ(ScanMap[keysym::kRight], 77);
  EXPECT_EQ(ScanMap[keysym::kLShift], 42);
  EXPECT_EQ(ScanMap[keysym::kRShift], 54);
  // The German layout: "z" and "y" trade places against a US keyboard.
  EXPECT_EQ(ScanMap['z'], 21);
  EXPECT_EQ(ScanMap['y'], 44);
}

TEST_F(ScanMapTest, EveryTypableCharacterComesBackFromItsKey) {
  std::string typable = "abcdefghijklmnopqrstuvwxyz0123456789";
  typable += ",.-#+'* ";
  for (char c : typable) {
    const uint8_t scancode = ScanMap[static_cast<uint8_t>(c)];
    ASSERT_LT(scancode, 128) << "'" << c << "' is not mapped";
    EXPECT_EQ(ScancodeToChar(scancode), c) << "'" << c << "' maps to " << int(scancode);
  }
}

TEST_F(ScanMapTest, ControlKeysAPlayerMightChooseReachTheGame) {
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
  // Symbols SDL never sends (gaps in its numbering) are dropped too, never sent to key 0.
  for (int sym = 0; sym < kScanMapSize; ++sym) EXPECT_NE(ScanMap[sym], 0) << "symbol " << sym;
}

TEST(ScanMapWriteTest, AMissingDirectoryIsAFatalErrorNamingTheFile) {
  ScratchDir dir;
  ExpectFatal([&] { WriteScanMap(dir.path() / "nowhere"); }, {"nowhere/scanmap"});
}
}  // namespace
