// The match tick: pause keys, the message log, the input step that feeds it, and the simulator's
// check of the state it leaves.
#include <functional>

#include "display.h"
#include "engine_fixture.h"

using MatchTickTest = EngineTest;

TEST_F(MatchTickTest, PauseKeysAreHeldStatesAndOnlyAPauseTakesAYes) {
  PlayerStateRecord &s = PlayerState[1], &t = PlayerState[2];
  KeyState[scan::kEscape] = KeyState[scan::kN] = 1;
  Ticks(2);
  EXPECT_EQ(paused, 0) << "Escape and N together keep the game running";
  KeyState[scan::kN] = KeyState[scan::kEscape] = 0;
  std::string typed;  // letter keys are named after the character they type
  for (uint8_t key : {scan::kY, scan::kZ, scan::kJ, scan::kN, scan::kP})
    typed += ScancodeToChar(key);
  EXPECT_EQ(typed, "yzjnp");
  for (uint8_t yes : {scan::kY, scan::kZ, scan::kJ}) {
    s.gameOver = t.gameOver = paused = 0;
    KeyState[yes] = 1;
    Ticks(1);
    const int unasked = s.gameOver;
    KeyState[scan::kP] = 1;
    Ticks(1);
    EXPECT_EQ(Cat(unasked, s.gameOver, t.gameOver, paused), "0 1 1 0") << "yes only after P";
    KeyState[scan::kP] = KeyState[yes] = 0;
  }
}

TEST_F(MatchTickTest, TheMessageLogScrollsAndAges) {
  messageTimer = 300;
  AddMessage("first message, cut to eighteen");
  EXPECT_EQ(Cat(MessageLog[0], messageTimer), "first message, cut 0");
  for (const char* text : {"2", "3", "4", "5", "6"}) AddMessage(text);
  EXPECT_EQ(Cat(MessageLog[0], MessageLog[4]), "2 6") << "the sixth pushes the first out";
  for (int i = 0; i < 451 * 4; ++i) AdvanceAnimations();
  EXPECT_EQ(Cat(MessageLog[0], MessageLog[1].length), "6 0");
}

TEST_F(MatchTickTest, KeysBecomeFlagsSafelyAlsoWhenPlayersShareOne) {
  PlayerStateRecord& s = PlayerState[1];
  PlayerState[2].config.keyLeft = kKeysOne[0];  // both players on one key
  KeyState[kKeysOne[0]] = KeyState[kKeysOne[3]] = KeyState[0] = 1;
  ReadPlayerInputs();
  EXPECT_EQ(s.inputLeft + PlayerState[2].inputLeft + s.inputDown, 3);
  for (uint32_t bad : {0u, 128u, 0xFFFFFFFFu}) {  // outside the key table: no key
    s.config.keyLeft = s.config.keyDown = bad;
    ReadPlayerInputs();
    EXPECT_EQ(s.inputLeft + s.inputDown, 0) << bad;
  }
}

TEST_F(MatchTickTest, TheInvariantCheckCatchesBrokenState) {
  StartCpuMatch(SimOptions{});
  Ticks(3000);
  char report[kReportSize];
  ASSERT_TRUE(CheckEngineInvariants(&backend, report, sizeof report)) << report;
  ASSERT_EQ(FieldCell(1, 0, kTopRow).colour, kEmpty);
  PlayerStateRecord saved[3];
  memcpy(saved, PlayerState, sizeof saved);
  const std::pair<const char*, std::function<void()>> faults[] = {
      {"colour 7", [] { FieldCell(1, 2, 5).colour = 7; }},
      {"border cell (6,3)", [] { FieldCell(2, kRightBorder, 3).colour = 2; }},
      {"beans in the field, but", [] { FieldCell(1, 0, kTopRow).colour = 3; }},
      {"pair", [] { PlayerState[1].pairA.column += 1; }},
      {"message log", [] { ClearMessageLog(), MessageLog[1].Set("x"); }},
      {"sound 3 at mixer volume 42", [] { PlaySound(Sounds[3], 21, 2); }},
      {"deleted by landings: 1", [] { ++BeanTallies[2].beansOverwrittenByLanding; }},
  };
  for (const auto& [fragment, fault] : faults) {
    fault();
    EXPECT_FALSE(CheckEngineInvariants(&backend, report, sizeof report)) << fragment;
    EXPECT_NE(strstr(report, fragment), nullptr) << report;
    memcpy(PlayerState, saved, sizeof saved);
    ClearMessageLog();
    backend.sounds.clear();
  }
}

// Joypads and the mouse only add to the keys, for the player who chose them, with the dead zones
// at their edges; a device chosen but not there does nothing. (The buttons, a pad pulled out, and
// the mouse's sideways moves and button are also met by the virtual-pad and real-window tests.)
TEST_F(MatchTickTest, JoypadsAndTheMouseAddToTheKeysOfThePlayerWhoChoseThem) {
  enum Device { kPad1, kPad2, kMouse };
  struct Case {
    const char* what;
    Device chosen;
    PadReading pad1;  // joypad 1 (joypad 2 is never plugged in)
    PointerReading pointer;
    uint32_t key;       // a key held (0: none)
    const char* flags;  // L, R, T(urn), D held
    bool mouse = true;  // the mouse is there
  };
  constexpr int32_t kZone = kJoypadDeadZone, kMost = kStickMost, kCx = kPictureCentreX,
                    kCy = kPictureCentreY;
  const Case cases[] = {
      {"stick right to the dead zone's edge", kPad1, {true, kZone, 0}, {}, 0, ""},
      {"just beyond", kPad1, {true, kZone + 1, 0}, {}, 0, "R"},
      {"stick left to the edge", kPad1, {true, -kZone, 0}, {}, 0, ""},
      {"just beyond", kPad1, {true, -kZone - 1, 0}, {}, 0, "L"},
      {"stick down beyond the edge", kPad1, {true, 0, kZone + 1}, {}, 0, "D"},
      {"stick fully up", kPad1, {true, 0, -kMost}, {}, 0, ""},
      {"d-pad left and down", kPad1, {true, 0, 0, kPadLeft | kPadDown}, {}, 0, "LD"},
      {"d-pad right beats the stick left", kPad1, {true, -kMost, 0, kPadRight}, {}, 0, "R"},
      {"pad and keyboard together", kPad1, {true, -kMost, 0}, {}, kKeysOne[2], "LT"},
      {"joypad 2 chosen: joypad 1 is another's", kPad2, {true, -kMost, 0, kPadA}, {}, 0, ""},
      {"pointer down to the mouse delay", kMouse, {}, {kCx, kCy + 20}, 0, ""},
      {"just beyond", kMouse, {}, {kCx, kCy + 21}, 0, "D"},
      {"pointer far up", kMouse, {}, {kCx, 0}, 0, ""},
      {"mouse and keyboard together", kMouse, {}, {0, kCy}, kKeysOne[3], "LD"},
      {"no mouse", kMouse, {}, {0, 399, true}, kKeysOne[1], "R", false},
  };
  PlayerConfig& config = PlayerState[1].config;
  config.mouseDelay = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    config.useJoypad1 = c.chosen == kPad1;
    config.useJoypad2 = c.chosen == kPad2;
    config.useMouse = c.chosen == kMouse;
    backend.pads[0] = c.pad1;
    backend.pointer = c.pointer;
    backend.mousePresent = c.mouse;
    MousePresent = ProbeMouse() ? 1 : 0;
    UpdateInputDevices();  // what the event pump does
    memset(KeyState, 0, sizeof KeyState);
    if (c.key) KeyState[c.key] = 1;
    const int warps = backend.pointerWarps;
    ReadPlayerInputs();
    EXPECT_EQ(Held(1) + "|" + Held(2), std::string(c.flags) + "|");
    // The mouse is measured from the centre, where every step puts the pointer back.
    const bool mouseRead = c.chosen == kMouse && c.mouse;
    EXPECT_EQ(backend.pointerWarps - warps, mouseRead ? 1 : 0);
    if (mouseRead) {
      EXPECT_EQ(Cat(backend.pointer.x, backend.pointer.y, backend.pointerCaptured), "320 200 1");
    }
    CaptureMouse(false);
  }
}
