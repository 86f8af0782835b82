// The key queries and the scanmap file.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

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
      {{0}, false, 0, 0},                                        // entry 0 is never looked at
      {{scan::kLShift}, true, 0, 0},                             // never chosen, never typed
      {{scan::kLShift, scan::kRShift}, true, scan::kRShift, 0},  // but right Shift is chosen
      {{30, scan::kLShift}, true, 30, 'a'},                      // "a" lies below Shift
      {{30, 37}, true, 30, 'a'},
      {{scan::kEscape, 30}, true, scan::kEscape, 0},  // no character, and the search stops
  };
  for (const auto& c : cases) {
    memset(KeyState, 0, sizeof KeyState);
    for (int s : c.held) KeyState[s] = 1;
    EXPECT_EQ(std::tuple(AnyKeyDown(), FirstKeyDown(), KeyToChar()),
              std::tuple(c.any, c.first, c.c))
        << testing::PrintToString(c.held);
  }
  KeyState[5] = 1;
  EXPECT_TRUE(KeyHeld(5));
  for (uint32_t outside : {0u, 128u, 0xFFFFFFFFu}) EXPECT_FALSE(KeyHeld(outside)) << outside;
}

// (The start reading data/scanmap, its caption and its failure without video are the whole
// program's part in the end-to-end and data-fault tests.)
TEST(KeyboardTest, AShortScanMapLeavesTheRestUnmappedAMissingOneIsFatal) {
  HeadlessSession session;
  ScratchDir dir;
  WriteFileBytes(dir.DataFile("scanmap"), {9, 8, 7});
  memset(ScanMap, 255, sizeof ScanMap);  // what a table read before left
  LoadScanMap("data/scanmap");
  EXPECT_EQ(ScanMap[2], 7);
  EXPECT_EQ(std::count(ScanMap + 3, ScanMap + kScanMapSize, 0), kScanMapSize - 3);
  ExpectFatal([] { LoadScanMap("data/nothing-here"); }, {"data/nothing-here"});
}
}  // namespace
