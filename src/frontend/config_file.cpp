#include "config_file.h"

#include <cstring>

#include "backend.h"
#include "fatal.h"
#include "keyboard.h"
#include "player.h"

namespace {

constexpr uint32_t kNoKey = 0;
constexpr uint32_t kMinBeansToLink = 3;
constexpr uint32_t kMinCpuStrength = 1;
constexpr uint32_t kMaxCpuStrength = 5;
constexpr uint32_t kWeakestCpu = 1;
// 0 would stop gravity; the fall sum level x dropSpeed must stay far from wrapping.
constexpr uint32_t kMinDropSpeed = 1;
constexpr uint32_t kMaxDropSpeed = 99;

void SanitiseKey(uint32_t& key) {
  if (key < 1 || key >= static_cast<uint32_t>(kKeyStateSize)) key = kNoKey;
}

}  // namespace

void SanitiseConfig(PlayerConfig& config) {
  SanitiseKey(config.keyLeft);
  SanitiseKey(config.keyRight);
  SanitiseKey(config.keyRotate);
  SanitiseKey(config.keyDown);
  if (config.beansToLink < kMinBeansToLink) config.beansToLink = kMinBeansToLink;
  config.name.capacity = kNameCapacity;
  if (config.name.length > kNameCapacity) config.name.length = kNameCapacity;
  if (config.cpuStrength < kMinCpuStrength || config.cpuStrength > kMaxCpuStrength)
    config.cpuStrength = kWeakestCpu;
  if (config.dropSpeed < kMinDropSpeed) config.dropSpeed = kMinDropSpeed;
  if (config.dropSpeed > kMaxDropSpeed) config.dropSpeed = kMaxDropSpeed;
}

bool ParseConfig(const uint8_t* data, size_t size, PlayerConfig& p1, PlayerConfig& p2) {
  if (!data || size < kConfigFileBytes) return false;
  memcpy(&p1, data, sizeof(PlayerConfig));
  memcpy(&p2, data + sizeof(PlayerConfig), sizeof(PlayerConfig));
  SanitiseConfig(p1);
  SanitiseConfig(p2);
  return true;
}

bool ReadConfigFile(const char* path, PlayerConfig& p1, PlayerConfig& p2, DecodeFault& fault) {
  uint8_t bytes[kConfigFileBytes];
  size_t got = 0;
  const int error = ReadFileStart(path, bytes, sizeof bytes, got);
  if (error > 0) {
    SetFault(fault, "%s", strerror(error));
    return false;
  }
  if (error < 0 || !ParseConfig(bytes, got, p1, p2)) {
    SetFault(fault, "input/output error (short file, %zu of %zu bytes)", got, kConfigFileBytes);
    return false;
  }
  return true;
}

bool ReadConfigFile(const char* path, PlayerConfig& p1, PlayerConfig& p2) {
  DecodeFault fault;
  return ReadConfigFile(path, p1, p2, fault);
}

SaveResult WriteConfigFile(const char* path, const PlayerConfig& p1, const PlayerConfig& p2,
                           int& error) {
  uint8_t bytes[kConfigFileBytes];
  memcpy(bytes, &p1, sizeof(PlayerConfig));
  memcpy(bytes + sizeof(PlayerConfig), &p2, sizeof(PlayerConfig));
  return WriteFileAtomically(path, bytes, sizeof bytes, error);
}

void LoadPlayerConfigs() {
  PlayerState[1].config.name.capacity = kNameCapacity;
  PlayerState[2].config.name.capacity = kNameCapacity;
  DecodeFault fault;
  if (!ReadConfigFile(kConfigFile, PlayerState[1].config, PlayerState[2].config, fault))
    FatalError("cannot read %s: %s", kConfigFile, fault.text);
}

void SavePlayerConfigs() {
  int error = 0;
  const SaveResult result =
      WriteConfigFile(kConfigFile, PlayerState[1].config, PlayerState[2].config, error);
  if (result == SaveResult::kWriteFailed)
    FatalError("cannot write %s: input/output error (%s)", kConfigFile, strerror(error));
  if (result == SaveResult::kSaved) CurrentBackend().FileSaved(kConfigFile);
}
