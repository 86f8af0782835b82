// The match tick: cadences, pause keys, animations, the message log, the fps meter, and the
// input step that feeds it.
#include "engine_fixture.h"

using MatchTickTest = EngineTest;

namespace {
std::string Line(int i) {
  return std::string(MessageLog[i].chars, MessageLog[i].length);
}
}  // namespace

TEST_F(MatchTickTest, StepsRunAtTheirCadencesInOrder) {
  PlayerState[2].absent = 1;
  PlayerStateRecord& s = PlayerState[1];
  FieldCell(1, 0, 5).colour = 4;  // a loose bean: falls at every settle step
  Ticks(10);
  EXPECT_EQ(s.fallProgress, 5u) << "gravity at ticks 0, 2, 4, 6, 8";
  EXPECT_EQ(Row(1, 7), "4.....") << "settled at ticks 0 and 5";
  // At tick 20 the action step lands the pair, the input step skips it, and the settle step
  // of the same tick already releases the next pair.
  ResetPlayerState(1);
  Pair(1, 2, 3, 0, 12);
  s.inputDown = 1;
  tickCount = 20;
  MatchTick();
  EXPECT_EQ(Row(1, 12), "3.....");
  EXPECT_EQ(s.resolving, 0);
  EXPECT_EQ(tickCount, 21u);
}

TEST_F(MatchTickTest, PauseKeysAreReadAsHeldStates) {
  PlayerStateRecord& s = PlayerState[1];
  s.score = 100;
  s.slideOffset = 5;
  s.rotateCooldown = 5;
  BurstAt(1, 0, 0).burstTimer = 1;
  KeyState[scan::kEscape] = 1;
  Ticks(4);
  EXPECT_EQ(paused, 1);
  EXPECT_EQ(s.fallProgress, 0u) << "no pair moves while paused";
  EXPECT_EQ(s.shownScore, 50 + 3 * 5) << "the score still rolls up";
  EXPECT_EQ(s.slideOffset, 1);
  EXPECT_EQ(s.rotateCooldown, 1u);
  EXPECT_EQ(BurstAt(1, 0, 0).burstTimer, 5u);
  KeyState[scan::kN] = 1;
  Ticks(2);
  EXPECT_EQ(paused, 0) << "Escape and N together keep the game running";
  EXPECT_GT(s.fallProgress, 0u);
  KeyState[scan::kN] = 0;
  Ticks(1);
  EXPECT_EQ(paused, 1);
  KeyState[scan::kEscape] = 0;
  for (uint8_t yes : {scan::kY, scan::kZ, scan::kJ}) {
    s.gameOver = PlayerState[2].gameOver = 0;
    paused = 0;
    KeyState[yes] = 1;
    Ticks(1);
    EXPECT_EQ(s.gameOver, 0) << "yes without the pause question does nothing";
    KeyState[scan::kP] = 1;
    Ticks(1);
    EXPECT_EQ(s.gameOver + PlayerState[2].gameOver, 2);
    EXPECT_EQ(paused, 0);
    KeyState[scan::kP] = KeyState[yes] = 0;
  }
}

TEST_F(MatchTickTest, AnimationsRunToTheirEndsAndWrap) {
  PlayerState[2].absent = 1;
  BurstAt(2, 5, 12) = Burst{3, 158, 118, {}};
  FieldCell(2, 5, 12).phase = 127;
  FieldCell(2, 5, -1).phase = 127;  // hidden cells do not animate
  PlayerState[2].pairA.phase = 127;
  PlayerState[2].chainTimer = 358;
  PlayerState[2].slideOffset = -1;
  spinCounter = 39;
  for (int i = 0; i < 3; ++i) AdvanceAnimations();
  EXPECT_EQ(BurstAt(2, 5, 12).burstTimer, 160u);
  EXPECT_EQ(BurstAt(2, 5, 12).popupTimer, 120u);
  EXPECT_EQ(BurstAt(2, 0, 0).burstTimer, 0u);
  EXPECT_EQ(FieldCell(2, 5, 12).phase, 2u);
  EXPECT_EQ(FieldCell(2, 5, -1).phase, 127u);
  EXPECT_EQ(PlayerState[2].pairA.phase, 2u);
  EXPECT_EQ(PlayerState[2].chainTimer, 360u);
  EXPECT_EQ(PlayerState[2].slideOffset, 0);
  EXPECT_EQ(spinCounter, 2u);
}

TEST_F(MatchTickTest, TheMessageLogScrollsAndAges) {
  messageTimer = 300;
  AddMessage("first message, cut to eighteen");
  EXPECT_EQ(Line(0), "first message, cut");
  EXPECT_EQ(messageTimer, 0u) << "a message into an empty log restarts the timer";
  for (int i = 2; i <= 6; ++i) AddMessage(std::to_string(i).c_str());
  EXPECT_EQ(Line(0), "2") << "the sixth line pushes the oldest out";
  EXPECT_EQ(Line(4), "6");
  ClearMessageLog();
  AddMessage("a");
  AddMessage("b");
  for (int i = 0; i < 450; ++i) AdvanceAnimations();
  EXPECT_EQ(Line(0), "a");
  AdvanceAnimations();
  EXPECT_EQ(Line(0), "b");
  EXPECT_TRUE(MessageLog[1].Empty());
}

TEST_F(MatchTickTest, TheMeterAndTheStartSequenceCounters) {
  tickCount = 139;
  frameCount = 100;
  MatchTick();
  EXPECT_EQ(std::string(fpsText.chars, fpsText.length), "50");
  EXPECT_EQ(tickCount, 0u);
  EXPECT_EQ(frameCount, 0u);
  frameCount = 2500;
  AnimCounter = 0;
  startPictureIndex = 0;
  int flips = 0;
  for (int i = 0; i < 140; ++i) {
    const int32_t before = startPictureIndex;
    IntroTick();
    flips += startPictureIndex != before;
  }
  EXPECT_EQ(flips, 8);
  EXPECT_EQ(startPictureIndex, 0);
  EXPECT_EQ(AnimCounter, 420);
  EXPECT_EQ(std::string(fpsText.chars, fpsText.length), "125") << "cut to three characters";
  OutroTick();
  EXPECT_EQ(AnimCounter, 422);
}

TEST_F(MatchTickTest, KeysBecomeFlagsSafelyAndOnlyForAFallingPair) {
  PlayerState[2].config.keyLeft = kKeysOne[0];  // both players on one key
  KeyState[kKeysOne[0]] = 1;
  KeyState[kKeysOne[3]] = 1;
  ReadPlayerInputs();
  EXPECT_EQ(PlayerState[1].inputLeft + PlayerState[2].inputLeft, 2);
  EXPECT_EQ(PlayerState[1].inputDown, 1);
  // Key codes outside the key table act as no key.
  for (uint32_t bad : {0u, 128u, 255u, 0xFFFFFFFFu}) {
    PlayerState[1].config.keyLeft = PlayerState[1].config.keyDown = bad;
    KeyState[0] = 1;
    ReadPlayerInputs();
    EXPECT_EQ(PlayerState[1].inputLeft + PlayerState[1].inputDown, 0) << bad;
  }
  // A waiting pair keeps its old flags; they are rebuilt once it is released.
  PlayerState[1].config.keyRight = kKeysOne[1];
  PlayerState[1].resolving = 1;
  KeyState[kKeysOne[1]] = 1;
  ReadPlayerInputs();
  EXPECT_EQ(PlayerState[1].inputRight, 0);
  PlayerState[1].resolving = 0;
  ReadPlayerInputs();
  EXPECT_EQ(PlayerState[1].inputRight, 1);
  // Without a mouse the mouse rule never acts, whatever the pointer says.
  KeyState[kKeysOne[1]] = 0;
  PlayerState[1].config.useMouse = 1;
  Mouse.x = 0;
  Mouse.button = 1;
  ReadPlayerInputs();
  EXPECT_EQ(PlayerState[1].inputLeft + PlayerState[1].inputRotate, 0);
  // A key pressed and released between two input steps is never seen.
  ResetPlayerState(1);
  tickCount = 1;
  KeyState[kKeysOne[1]] = 1;
  MatchTick();
  KeyState[kKeysOne[1]] = 0;
  Ticks(10);
  EXPECT_EQ(PlayerState[1].pairA.column, kSpawnColumn);
}

TEST_F(MatchTickTest, TheComputerPicksItsTargetWhenItsFieldComesToRest) {
  PlayerStateRecord& s = PlayerState[2];
  s.cpuControlled = 1;
  s.resolving = 1;
  s.incomingBlackBeans = 3;
  s.cpuTargetColumn = 5;
  SettleFields();
  EXPECT_EQ(s.cpuTargetColumn, 5u) << "black beans are still to fall";
  for (int i = 0; i < 30 && s.resolving; ++i) SettleFields();
  EXPECT_EQ(s.resolving, 0);
  EXPECT_NE(s.cpuTargetColumn, 5u);
}
