// Start-up: loading shows nothing and waits only for held keys. (That it reads the saved files,
// and stops on a broken one, is the data-fault runs' part; whole runs of the program, and a start
// without video, are the end-to-end tests'.)
#include "load_all.h"

#include "../resources/synthetic_data.h"
#include "keyboard.h"

namespace {

TEST(StartUpTest, LoadingShowsNothingAndWaitsOnlyForHeldKeys) {
  HeadlessSession session;
  ScratchDir dir;
  synthetic::WriteGameData(dir.path() / "data");
  WriteFileBytes(dir.DataFile("plonkix.cfg"), std::vector<uint8_t>(104));
  WriteFileBytes(dir.DataFile("plonkix.hig"), std::vector<uint8_t>(380));
  memset(ScanMap, 0xFF, sizeof ScanMap);
  ScanMap[keysym::kA] = 30;
  LoadAllData();
  EXPECT_EQ(session->now, 0u);
  session->KeyDown(0, keysym::kA);
  session->KeyUp(700, keysym::kA);
  KeyState[30] = 1;  // held when loading starts
  LoadAllData();
  EXPECT_GE(session->now, 700u);
  EXPECT_EQ(session->framesPresented, 0u);
}

}  // namespace
