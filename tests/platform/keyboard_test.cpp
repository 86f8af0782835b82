// The key queries and the scanmap file.
#include <gtest/gtest.h>

#include <cstring>

#include "platform.h"
#include "test_support.h"

namespace {
TEST(KeyboardTest, QueriesSeeTheLowestHeldKey) {
  HeadlessSession session;
  const struct {
    std::vector<int> held;
    bool any;
    uint8_t first;
    char c;
  } cases[] = {
      {{}, false, 0, 0},
      {{0}, false, 0, 0},             // entry 0 is never looked at
      {{scan::kLShift}, true, 0, 0},  // left Shift: a key, but never chosen or typed
      {{scan::kLShift, scan::kRShift}, true, scan::kRShift, 0},
      {{30, scan::kLShift}, true, 30, 'a'},  // "a" lies below Shift and still types
      {{30, 37}, true, 30, 'a'},
      {{scan::kEscape, 30},
       true,
       scan::kEscape,
       0},  // Escape has no character and stops the search
  };
  for (const auto& c : cases) {
    memset(KeyState, 0, sizeof KeyState);
    for (int s : c.held) KeyState[s] = 1;
    EXPECT_EQ(AnyKeyDown(), c.any) << testing::PrintToString(c.held);
    EXPECT_EQ(FirstKeyDown(), c.first) << testing::PrintToString(c.held);
    EXPECT_EQ(KeyToChar(), c.c) << testing::PrintToString(c.held);
  }
  memset(KeyState, 0, sizeof KeyState);
  KeyState[5] = 1;
  EXPECT_TRUE(KeyHeld(5));
  for (uint32_t outside : {0u, 128u, 0xFFFFFFFFu}) EXPECT_FALSE(KeyHeld(outside)) << outside;
  EXPECT_FALSE(ProbeMouse());
}

TEST(KeyboardTest, CharacterTableFollowsTheGermanLayout) {
  const struct {
    uint8_t scan;
    char c;
  } cases[] = {{2, '1'},  {10, '9'}, {11, '0'}, {13, '\''}, {16, 'q'}, {21, 'z'}, {25, 'p'},
               {27, '+'}, {30, 'a'}, {38, 'l'}, {41, '#'},  {44, 'y'}, {50, 'm'}, {51, ','},
               {53, '-'}, {55, '*'}, {57, ' '}, {12, 0},    {28, 0},   {72, 0}};
  for (const auto& c : cases) EXPECT_EQ(ScancodeToChar(c.scan), c.c) << int(c.scan);
}

TEST(KeyboardTest, StartPlatformReadsTheScanMapShortOrMissing) {
  HeadlessSession session;
  ScratchDir dir;
  std::vector<uint8_t> map(kScanMapSize, 255);
  map[keysym::kEscape] = 1;
  WriteFileBytes(dir.DataFile("scanmap"), map);
  EXPECT_TRUE(StartPlatform());
  EXPECT_EQ(session->caption, "PLONKIX");
  EXPECT_EQ(ScanMap[keysym::kEscape], 1);
  session->videoWorks = false;
  EXPECT_FALSE(StartPlatform()) << "the table is read, but the start reports no video";

  WriteFileBytes(dir.DataFile("scanmap"), {9, 8, 7});  // a short table leaves the rest 0
  LoadScanMap("data/scanmap");
  EXPECT_EQ(ScanMap[2], 7);
  for (int i = 3; i < kScanMapSize; ++i) ASSERT_EQ(ScanMap[i], 0) << i;
  ExpectFatal([] { LoadScanMap("data/nothing-here"); }, {"data/nothing-here"});
}
}  // namespace
