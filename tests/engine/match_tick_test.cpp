// The match tick: cadences, pause keys, animations, the message log, the fps meter, and the
// input step that feeds it.
#include "engine_fixture.h"

using MatchTickTest = EngineTest;

TEST_F(MatchTickTest, StepsRunAtTheirCadencesInOrder) {
  PlayerState[2].absent = 1;
  PlayerStateRecord& s = PlayerState[1];
  FieldCell(1, 0, 5).colour = 4;  // a loose bean falls at every settle step
  Ticks(10);
  EXPECT_EQ(std::to_string(s.fallProgress) + Row(1, 7), "54.....") << "gravity 5 times, settle 2";
  // At tick 20 the action step lands the pair, the input step skips it, and the settle step
  // of the same tick already releases the next pair.
  ResetPlayerState(1);
  Pair(1, 2, 3, 1, 12);
  s.inputDown = 1;
  tickCount = 20;
  MatchTick();
  EXPECT_EQ(Row(1, 12) + std::to_string(s.resolving) + std::to_string(tickCount), ".3....021");
}

TEST_F(MatchTickTest, PauseKeysAreReadAsHeldStatesAndAnimationsGoOn) {
  PlayerStateRecord& s = PlayerState[1];
  s.score = 100;
  s.slideOffset = s.rotateCooldown = BurstAt(1, 0, 0).burstTimer = 5;
  KeyState[scan::kEscape] = 1;
  Ticks(4);
  EXPECT_EQ(paused + s.fallProgress, 1u) << "no pair moves while paused";
  EXPECT_EQ(s.shownScore + s.slideOffset + s.rotateCooldown + BurstAt(1, 0, 0).burstTimer,
            65 + 1 + 1 + 9);
  KeyState[scan::kN] = 1;
  Ticks(2);
  EXPECT_EQ(paused, 0) << "Escape and N together keep the game running";
  KeyState[scan::kN] = 0;
  Ticks(1);
  EXPECT_EQ(paused, 1);
  KeyState[scan::kEscape] = 0;
  for (uint8_t yes : {scan::kY, scan::kZ, scan::kJ}) {
    s.gameOver = PlayerState[2].gameOver = paused = 0;
    KeyState[yes] = 1;
    Ticks(1);
    EXPECT_EQ(s.gameOver, 0) << "yes without the pause question does nothing";
    KeyState[scan::kP] = 1;
    Ticks(1);
    EXPECT_EQ(s.gameOver + PlayerState[2].gameOver + paused, 2);
    KeyState[scan::kP] = KeyState[yes] = 0;
  }
}

TEST_F(MatchTickTest, AnimationsStopAtTheirEndsAndWrap) {
  PlayerState[2].absent = 1;  // an absent player animates all the same
  BurstAt(2, 5, 12) = Burst{3, 158, 118, {}};
  FieldCell(2, 5, 12).phase = FieldCell(2, 5, -1).phase = PlayerState[2].pairA.phase = 127;
  PlayerState[2].chainTimer = 358;
  spinCounter = 39;
  for (int i = 0; i < 3; ++i) AdvanceAnimations();
  EXPECT_EQ(BurstAt(2, 5, 12).burstTimer * 1000 + BurstAt(2, 5, 12).popupTimer, 160120u);
  EXPECT_EQ(BurstAt(2, 0, 0).burstTimer, 0u);
  EXPECT_EQ(FieldCell(2, 5, 12).phase * 100 + PlayerState[2].pairA.phase, 202u);
  EXPECT_EQ(FieldCell(2, 5, -1).phase, 127u) << "hidden cells do not animate";
  EXPECT_EQ(PlayerState[2].chainTimer * 10 + spinCounter, 3602u);
}

TEST_F(MatchTickTest, TheMessageLogScrollsAndAges) {
  messageTimer = 300;
  AddMessage("first message, cut to eighteen");
  EXPECT_EQ(Str(MessageLog[0]) + std::to_string(messageTimer), "first message, cut0");
  for (const char* text : {"2", "3", "4", "5", "6"}) AddMessage(text);
  EXPECT_EQ(Str(MessageLog[0]) + Str(MessageLog[4]), "26") << "the sixth pushes the first out";
  for (int i = 0; i < 451 * 4; ++i) AdvanceAnimations();
  EXPECT_EQ(Str(MessageLog[0]) + std::to_string(MessageLog[1].length), "60");
}

TEST_F(MatchTickTest, TheMeterAndTheStartSequenceCounters) {
  tickCount = 139;
  frameCount = 100;
  MatchTick();
  EXPECT_EQ(Str(fpsText) + std::to_string(tickCount + frameCount), "500");
  frameCount = 2500;
  int flips = 0;
  for (int i = 0; i < 140; ++i) {
    const int32_t before = startPictureIndex;
    IntroTick();
    flips += startPictureIndex != before;
  }
  EXPECT_EQ(flips * 1000 + startPictureIndex + AnimCounter, 8420);
  EXPECT_EQ(Str(fpsText), "125") << "cut to three characters";
  OutroTick();
  EXPECT_EQ(AnimCounter, 422);
}

TEST_F(MatchTickTest, KeysBecomeFlagsSafelyAndOnlyForAFallingPair) {
  PlayerStateRecord& s = PlayerState[1];
  PlayerState[2].config.keyLeft = kKeysOne[0];  // both players on one key
  KeyState[kKeysOne[0]] = KeyState[kKeysOne[3]] = 1;
  ReadPlayerInputs();
  EXPECT_EQ(s.inputLeft + PlayerState[2].inputLeft + s.inputDown, 3);
  for (uint32_t bad : {0u, 128u, 0xFFFFFFFFu}) {  // outside the key table: no key
    s.config.keyLeft = s.config.keyDown = bad;
    KeyState[0] = 1;
    ReadPlayerInputs();
    EXPECT_EQ(s.inputLeft + s.inputDown, 0) << bad;
  }
  s.resolving = 1;  // a waiting pair keeps its old flags until it is released
  KeyState[kKeysOne[1]] = 1;
  ReadPlayerInputs();
  EXPECT_EQ(s.inputRight, 0);
  s.resolving = 0;
  ReadPlayerInputs();
  EXPECT_EQ(s.inputRight, 1);
}
