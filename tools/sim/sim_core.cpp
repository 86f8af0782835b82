#include "sim_core.h"

#include <cstdarg>
#include <cstdio>

#include "engine.h"
#include "headless.h"
#include "ticks.h"

namespace {
constexpr int kSpawnTopRow = kSpawnRowA;  // no pair bean ever rises above the spawn row

bool Fail(char* report, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
bool Fail(char* report, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vsnprintf(report, size, format, args);
  va_end(args);
  return false;
}

bool CheckCells(int p, char* report, size_t size) {
  uint64_t beans = 0;
  for (int x = kLeftBorder; x <= kRightBorder; ++x) {
    for (int y = kTopRow; y <= kFloorRow; ++y) {
      const Cell& cell = FieldCell(p, x, y);
      if (cell.colour > kLastBeanColour)
        return Fail(report, size, "player %d cell (%d,%d): colour %u", p, x, y, cell.colour);
      const bool border = x == kLeftBorder || x == kRightBorder || y == kFloorRow;
      if (border && (cell.colour != kEmpty || cell.links != 0))
        return Fail(report, size, "player %d border cell (%d,%d): colour %u links %u", p, x, y,
                    cell.colour, cell.links);
      if (cell.colour == kEmpty && cell.links != 0)
        return Fail(report, size, "player %d empty cell (%d,%d) has links %u", p, x, y, cell.links);
      if (cell.links > (kLinkLeft | kLinkRight | kLinkUp | kLinkDown) || cell.phase >= kPhaseCount)
        return Fail(report, size, "player %d cell (%d,%d): links %u phase %u", p, x, y, cell.links,
                    cell.phase);
      if (cell.colour != kEmpty) ++beans;
    }
  }
  const BeanTally& t = BeanTallies[p];
  const uint64_t came = t.beansLanded + t.blackBeansPlaced;
  if (t.beansOverwrittenByLanding != 0)
    return Fail(report, size, "player %d: field beans deleted by landings: %llu", p,
                static_cast<unsigned long long>(t.beansOverwrittenByLanding));
  const uint64_t went = t.beansExploded + t.blackBeansTaken + t.beansOverwrittenByBlackBeans;
  if (beans + went != came)
    return Fail(report, size,
                "player %d: %llu beans in the field, but %llu landed + %llu black placed - %llu "
                "exploded - %llu black taken - %llu replaced by black beans",
                p, static_cast<unsigned long long>(beans),
                static_cast<unsigned long long>(t.beansLanded),
                static_cast<unsigned long long>(t.blackBeansPlaced),
                static_cast<unsigned long long>(t.beansExploded),
                static_cast<unsigned long long>(t.blackBeansTaken),
                static_cast<unsigned long long>(t.beansOverwrittenByBlackBeans));
  if (PlayerState[p].beansKilled != t.beansExploded)
    return Fail(report, size, "player %d: %u beans killed, but %llu exploded", p,
                PlayerState[p].beansKilled, static_cast<unsigned long long>(t.beansExploded));
  for (int x = 0; x < kColumns; ++x) {
    for (int y = 0; y <= kBottomRow; ++y) {
      const Burst& b = BurstAt(p, x, y);
      if (b.burstTimer > kBurstTimerEnd || b.popupTimer > kPopupTimerEnd ||
          b.colour > kLastBeanColour || (b.burstTimer != 0 && b.colour == kEmpty))
        return Fail(report, size, "player %d burst (%d,%d): colour %u timer %u popup %u", p, x, y,
                    b.colour, b.burstTimer, b.popupTimer);
    }
  }
  return true;
}

bool IsBeanColour(uint32_t c) {
  return c >= kFirstBeanColour && c <= kLastBeanColour;
}

bool CheckPair(int p, char* report, size_t size) {
  const PlayerStateRecord& s = PlayerState[p];
  static constexpr int kOffsetColumn[4] = {0, 1, 0, -1};
  static constexpr int kOffsetRow[4] = {-1, 0, 1, 0};
  const PairBean& a = s.pairA;
  const PairBean& b = s.pairB;
  const bool placed = s.orientation < 4 && a.column >= 0 && a.column < kColumns && b.column >= 0 &&
                      b.column < kColumns && a.row <= kBottomRow && b.row <= kBottomRow &&
                      a.row >= kSpawnTopRow && b.row >= kSpawnTopRow + 1;
  if (!placed || a.column != b.column + kOffsetColumn[s.orientation] ||
      a.row != b.row + kOffsetRow[s.orientation])
    return Fail(report, size, "player %d pair: A (%d,%d) B (%d,%d) orientation %u", p, a.column,
                a.row, b.column, b.row, s.orientation);
  if (s.resolving && (a.column != kSpawnColumn || a.row != kSpawnRowA || s.orientation != 0))
    return Fail(report, size, "player %d: a waiting pair is not at the spawn place", p);
  if (!IsBeanColour(a.colour) || !IsBeanColour(b.colour) || !IsBeanColour(s.nextColourA) ||
      !IsBeanColour(s.nextColourB) || a.phase >= kPhaseCount || b.phase >= kPhaseCount)
    return Fail(report, size, "player %d pair colours %u %u next %u %u phases %u %u", p, a.colour,
                b.colour, s.nextColourA, s.nextColourB, a.phase, b.phase);
  return true;
}

bool CheckRecord(int p, char* report, size_t size) {
  const PlayerStateRecord& s = PlayerState[p];
  for (uint32_t c = 0; c < kColourCodes; ++c)
    if (s.colourCounts[c] > kColourCountCap)
      return Fail(report, size, "player %d colourCounts[%u] = %u", p, c + 1, s.colourCounts[c]);
  if (s.fallProgress > kFallStepPixels || s.rotateCooldown > kRotateCooldown ||
      s.slideOffset < -kSlideDistance || s.slideOffset > kSlideDistance ||
      s.chainTimer > kChainTimerEnd || s.chainPicture > kMostChainPicture ||
      s.level < kFirstLevel || s.level > kLastLevel)
    return Fail(
        report, size, "player %d: fall %u cooldown %u slide %d chain timer %u picture %u level %u",
        p, s.fallProgress, s.rotateCooldown, s.slideOffset, s.chainTimer, s.chainPicture, s.level);
  if (s.shownScore < 0 || s.shownScore > s.score)
    return Fail(report, size, "player %d: shown score %lld, score %lld", p,
                static_cast<long long>(s.shownScore), static_cast<long long>(s.score));
  if (s.cpuTargetColumn >= static_cast<uint32_t>(kColumns) ||
      (s.cpuTargetOrientation != 0 && s.cpuTargetOrientation != 1 && s.cpuTargetOrientation != 3) ||
      (s.cpuTargetOrientation == 1 && s.cpuTargetColumn == 0) ||
      (s.cpuTargetOrientation == 3 && s.cpuTargetColumn == kColumns - 1))
    return Fail(report, size, "player %d: target column %u orientation %u", p, s.cpuTargetColumn,
                s.cpuTargetOrientation);
  return CheckCells(p, report, size) && CheckPair(p, report, size);
}

bool CheckGlobals(char* report, size_t size) {
  if (tickCount >= kTicksPerMeterPeriod || spinCounter >= kSpinFrames ||
      messageTimer > kMessageScrollTicks)
    return Fail(report, size, "globals: tickCount %u spinCounter %u messageTimer %u", tickCount,
                spinCounter, messageTimer);
  for (int i = 1; i < kMessageLines; ++i)
    if (MessageLog[i - 1].Empty() && !MessageLog[i].Empty())
      return Fail(report, size, "message log: line %d empty above a filled line", i);
  return true;
}

// Every sound the engine plays, with its volume and the kind of player channel it belongs on.
struct SoundRule {
  int first, last, volume, channelKind;
};
constexpr SoundRule kSoundRules[] = {
    {kSoundRotate, kSoundRotate, 5, kChannelRotation},
    {kSoundLanding, kSoundLanding, 15, kChannelLanding},
    {kSoundExplosion, kSoundExplosion, 20, kChannelExplosion},
    {kSoundChainBase + 2, kSoundLongChain, 30, kChannelChain},
    {kSoundCounterAttack, kSoundCounterAttack, 40, kChannelChain},
    {kSoundTopOut, kSoundTopOut, 30, kChannelChain},
};

bool ExpectedSound(int number, int& volume, int& channelKind) {
  for (const SoundRule& rule : kSoundRules) {
    if (number >= rule.first && number <= rule.last) {
      volume = rule.volume;
      channelKind = rule.channelKind;
      return true;
    }
  }
  return false;
}

bool CheckSounds(HeadlessBackend& backend, char* report, size_t size) {
  for (const auto& call : backend.sounds) {
    int volume = 0, kind = 0;
    if (!ExpectedSound(call.number, volume, kind) || call.mixerVolume != 2 * volume ||
        call.mixerChannel < 0 || call.mixerChannel >= 2 * kChannelsPerPlayer ||
        call.mixerChannel % kChannelsPerPlayer != kind - 1)
      return Fail(report, size, "sound %d at mixer volume %d on mixer channel %d", call.number,
                  call.mixerVolume, call.mixerChannel);
  }
  backend.sounds.clear();
  return true;
}
}  // namespace

void InstallFakeSounds(HeadlessBackend& backend) {
  for (int n = 0; n < kSoundCount; ++n) Sounds[n] = backend.FakeSound(n);
}

void StartCpuMatch(const SimOptions& options) {
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    s.config.dropSpeed = options.players[p].dropSpeed;
    s.config.beansToLink = options.players[p].beansToLink;
    s.config.cpuStrength = options.players[p].strength;
    s.cpuControlled = 1;
    s.absent = 0;
  }
  ResetMatch();
}

bool CheckEngineInvariants(HeadlessBackend* backend, char* report, size_t size) {
  for (int p = 1; p <= kPlayers; ++p)
    if (!CheckRecord(p, report, size)) return false;
  if (!CheckGlobals(report, size)) return false;
  return backend == nullptr || CheckSounds(*backend, report, size);
}

MatchResult PlayCpuMatch(const SimOptions& options, HeadlessBackend& backend, char* report,
                         size_t size) {
  MatchResult result;
  StartCpuMatch(options);
  backend.sounds.clear();
  const PlayerStateRecord& one = PlayerState[1];
  const PlayerStateRecord& two = PlayerState[2];
  while (result.ticks < options.maxTicks && !one.gameOver && !two.gameOver) {
    MatchTick();
    ++result.ticks;
    if (options.check) {
      if (!CheckEngineInvariants(&backend, report, size)) {
        result.violation = true;
        break;
      }
    } else {
      backend.sounds.clear();
    }
  }
  if (one.gameOver && two.gameOver)
    result.winner = kDraw;
  else if (one.gameOver)
    result.winner = 2;
  else if (two.gameOver)
    result.winner = 1;
  for (int p = 1; p <= kPlayers; ++p) {
    result.score[p] = PlayerState[p].score;
    result.longestChain[p] = PlayerState[p].maxCombo;
    result.beansKilled[p] = PlayerState[p].beansKilled;
    result.blackBeansSent[p] = BeanTallies[p].blackBeansSent;
    result.beansOverwrittenByLanding[p] = BeanTallies[p].beansOverwrittenByLanding;
    result.beansOverwrittenByBlackBeans[p] = BeanTallies[p].beansOverwrittenByBlackBeans;
  }
  return result;
}
