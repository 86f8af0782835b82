// The key queries and the scanmap file.
#include <gtest/gtest.h>

#include <cstring>

#include "platform.h"
#include "test_support.h"

namespace {
class KeyboardTest : public ::testing::Test {
 protected:
  HeadlessSession session;
};

TEST_F(KeyboardTest, NoKeyHeld) {
  EXPECT_FALSE(AnyKeyDown());
  EXPECT_EQ(FirstKeyDown(), 0);
  EXPECT_EQ(KeyToChar(), 0);
}

TEST_F(KeyboardTest, LeftShiftIsAKeyButNeverAChoiceNorACharacter) {
  KeyState[scan::kLShift] = 1;
  EXPECT_TRUE(AnyKeyDown());
  EXPECT_EQ(FirstKeyDown(), 0);
  EXPECT_EQ(KeyToChar(), 0);
  KeyState[scan::kRShift] = 1;
  EXPECT_EQ(FirstKeyDown(), scan::kRShift);
  KeyState[30] = 1;  // "a" lies below Shift and still types
  EXPECT_EQ(KeyToChar(), 'a');
}

TEST_F(KeyboardTest, TheLowestHeldKeyWins) {
  KeyState[30] = KeyState[37] = 1;
  EXPECT_EQ(KeyToChar(), 'a');
  EXPECT_EQ(FirstKeyDown(), 30);
  KeyState[scan::kEscape] = 1;  // Escape has no character and stops the search
  EXPECT_EQ(KeyToChar(), 0);
}

TEST_F(KeyboardTest, EntryZeroIsNeverSeen) {
  KeyState[0] = 1;
  EXPECT_FALSE(AnyKeyDown());
  EXPECT_EQ(FirstKeyDown(), 0);
}

TEST_F(KeyboardTest, CharacterTableFollowsTheGermanLayout) {
  const struct {
    uint8_t scan;
    char c;
  } cases[] = {{2, '1'},  {10, '9'}, {11, '0'}, {13, '\''}, {16, 'q'}, {21, 'z'}, {25, 'p'},
               {27, '+'}, {30, 'a'}, {38, 'l'}, {41, '#'},  {44, 'y'}, {50, 'm'}, {51, ','},
               {53, '-'}, {55, '*'}, {57, ' '}, {12, 0},    {28, 0},   {72, 0}};
  for (const auto& c : cases) EXPECT_EQ(ScancodeToChar(c.scan), c.c) << int(c.scan);
}

TEST_F(KeyboardTest, KeyHeldIgnoresValuesOutsideTheTable) {
  KeyState[5] = 1;
  EXPECT_TRUE(KeyHeld(5));
  EXPECT_FALSE(KeyHeld(0));
  EXPECT_FALSE(KeyHeld(128));
  EXPECT_FALSE(KeyHeld(0xFFFFFFFFu));
}

TEST_F(KeyboardTest, AShortScanMapLeavesTheRestZeroAndAMissingOneIsFatal) {
  ScratchDir dir;
  WriteFileBytes(dir.DataFile("scanmap"), {9, 8, 7});
  memset(ScanMap, 0xAA, sizeof ScanMap);
  LoadScanMap("data/scanmap");
  EXPECT_EQ(ScanMap[0], 9);
  EXPECT_EQ(ScanMap[2], 7);
  for (int i = 3; i < kScanMapSize; ++i) ASSERT_EQ(ScanMap[i], 0) << i;
  ExpectFatal([] { LoadScanMap("data/nothing-here"); }, {"data/nothing-here"});
}

TEST_F(KeyboardTest, StartPlatformSetsTheCaptionAndReadsTheScanMap) {
  ScratchDir dir;
  std::vector<uint8_t> map(kScanMapSize, 255);
  map[keysym::kEscape] = 1;
  WriteFileBytes(dir.DataFile("scanmap"), map);
  EXPECT_TRUE(StartPlatform());
  EXPECT_EQ(session->caption, "PLONKIX");
  EXPECT_EQ(ScanMap[keysym::kEscape], 1);
  session->videoWorks = false;
  EXPECT_FALSE(StartPlatform());
}

TEST_F(KeyboardTest, TheMouseAndJoypadsAreNeverPresent) {
  EXPECT_FALSE(ProbeMouse());
}
}  // namespace
