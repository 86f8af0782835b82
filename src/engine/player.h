// The two players' records: options, mode flags and the whole play state of a match, with the
// field of beans, the falling pair and the per-cell explosion animations.
#pragma once
#include <cstdint>

#include "player_config.h"
#include "text.h"

constexpr int kPlayers = 2;  // reached as PlayerState[1] and PlayerState[2]

// Bean colour codes.
constexpr uint32_t kEmpty = 0;
constexpr uint32_t kBlackBean = 1;
constexpr uint32_t kFirstBeanColour = 2;
constexpr uint32_t kLastBeanColour = 6;
constexpr uint32_t kBeanColours = kLastBeanColour - kFirstBeanColour + 1;  // 5
constexpr uint32_t kColourCodes = kLastBeanColour;                         // codes 1..6 counted

// Field coordinates: columns 0..5 and rows 0..12 are visible; column -1, column 6 and row 13
// are an always-empty border, rows -10..-1 are hidden above the visible field.
constexpr int kColumns = 6;
constexpr int kVisibleRows = 13;
constexpr int kLeftBorder = -1;
constexpr int kRightBorder = kColumns;  // 6
constexpr int kTopRow = -10;
constexpr int kBottomRow = kVisibleRows - 1;  // 12
constexpr int kFloorRow = kVisibleRows;       // 13, the border row below the bottom
constexpr int kFieldColumns = kRightBorder - kLeftBorder + 1;  // 8
constexpr int kFieldRows = kFloorRow - kTopRow + 1;            // 24

// Link bits of a cell: which equal-coloured neighbours it is joined to.
constexpr uint32_t kLinkLeft = 1;
constexpr uint32_t kLinkRight = 2;
constexpr uint32_t kLinkUp = 4;
constexpr uint32_t kLinkDown = 8;

constexpr uint32_t kPhaseCount = 128;  // bean animation phases 0..127
constexpr uint32_t kNewPhaseRange = 16;

// Where every new pair appears: bean A above the pivot bean B.
constexpr int kSpawnColumn = 3;
constexpr int kSpawnRowA = -3;
constexpr int kSpawnRowB = -2;

constexpr uint32_t kFirstLevel = 1;
constexpr uint32_t kLastLevel = 13;

constexpr uint32_t kColourCountCap = 30;  // the colour bars show at most 30 beans

constexpr uint32_t kChainTextCapacity = 10;
constexpr uint32_t kPopupTextCapacity = 10;

struct Cell {
  uint32_t colour;
  uint32_t links;
  uint32_t phase;
};

// Stored column by column: all 24 cells of column -1 first, top row first.
struct Field {
  Cell cells[kFieldColumns][kFieldRows];
};

struct PairBean {
  int32_t column;
  int32_t row;
  uint32_t colour;
  uint32_t phase;
};

// The explosion and points popup shown at one visible cell.
struct Burst {
  uint32_t colour;      // colour code of the bean that exploded here
  uint32_t burstTimer;  // 0 = off, then 1..160
  uint32_t popupTimer;  // 0 = off, then 1..120
  FixedText<kPopupTextCapacity> popupText;
};

struct PlayerStateRecord {
  PlayerConfig config;
  uint32_t cpuTargetColumn;
  uint32_t cpuTargetOrientation;  // 0, 1 or 3
  uint8_t cpuControlled;
  uint8_t absent;
  // Everything from here on is wiped at every match start.
  uint8_t inputLeft;
  uint8_t inputRight;
  uint8_t inputRotate;
  uint8_t inputDown;
  int64_t shownScore;
  int64_t score;
  uint32_t fallProgress;    // 0..26 pixels below the pair's row
  uint32_t rotateCooldown;  // ticks until the next rotation is accepted
  uint32_t orientation;     // 0 A above B, 1 right of B, 2 below B, 3 left of B
  uint32_t level;           // 1..13
  int32_t slideOffset;      // -16..16, horizontal move animation
  uint32_t incomingBlackBeans;
  uint8_t resolving;  // the pair has landed and the field is settling
  uint8_t gameOver;
  uint32_t chainHits;
  uint32_t chainWeight;
  uint32_t chainPicture;  // 0 counter-attack, 2..8 chain pictures
  uint32_t chainTimer;    // 0 = off, then 1..360
  FixedText<kChainTextCapacity> chainText;
  uint32_t colourCounts[kColourCodes];  // [c - 1] counts visible beans of colour code c, max 30
  uint32_t nextColourA;
  uint32_t nextColourB;
  PairBean pairA;
  PairBean pairB;  // the pivot
  Field field;
  Burst bursts[kColumns][kVisibleRows];  // column by column
  uint16_t maxCombo;
  uint16_t maxComboPoints;
  uint32_t beansKilled;
};

extern PlayerStateRecord PlayerState[kPlayers + 1];  // index 0 unused

// Running tallies of where beans came from and went, for the simulator's conservation check and
// the match summary. Not part of the player record; cleared with it at match start.
struct BeanTally {
  uint64_t beansLanded;                   // pair beans written into the field
  uint64_t blackBeansPlaced;              // black beans written into the field
  uint64_t beansExploded;                 // coloured beans removed by explosions
  uint64_t blackBeansTaken;               // black beans removed next to explosions
  uint64_t beansOverwrittenByLanding;     // field beans a landing wrote over: always 0
  uint64_t beansOverwrittenByBlackBeans;  // hidden beans replaced by placed black beans
  uint64_t blackBeansSent;                // black beans this player sent to the opponent
};
extern BeanTally BeanTallies[kPlayers + 1];

inline int Opponent(int p) {
  return 3 - p;
}

// A field cell by field coordinates (column -1..6, row -10..13).
inline Cell& FieldCell(int p, int column, int row) {
  return PlayerState[p].field.cells[column - kLeftBorder][row - kTopRow];
}
// A visible cell's burst (column 0..5, row 0..12).
inline Burst& BurstAt(int p, int column, int row) {
  return PlayerState[p].bursts[column][row];
}

inline bool IsVisible(int column, int row) {
  return column >= 0 && column < kColumns && row >= 0 && row <= kBottomRow;
}

// The group size that explodes for this player: the configured value, never below 3.
uint32_t LinkThreshold(int p);

// Match-start reset of player p's play state; options and mode flags stay.
void ResetPlayerState(int p);

// The options two machines of an online match hold alike for a player: the rule options and the
// name. The keys, input devices and mouse delay are each machine's own and are cleared (no key,
// keyboard only); the computer strength, which no human plays by, is set to its lowest.
PlayerConfig SharedOptions(const PlayerConfig& config);

// A 64-bit hash of both players' records, for checking that two runs of a match agree: the
// rule options, the mode flags and the whole play state, but not the keys and input devices,
// which are each machine's own.
uint64_t HashPlayerStates();
