// A player's options: the record at the start of each player's state and, twice, the whole
// configuration file. The layout is stored byte for byte, so it is fixed here and checked.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t kNameCapacity = 5;

struct ConfigName {
  uint32_t capacity;  // always 5
  uint32_t length;    // 0..5
  char chars[kNameCapacity];
  uint8_t padding[3];  // never written by the program
};

struct PlayerConfig {
  uint8_t useMouse;
  uint8_t useJoypad1;
  uint8_t useJoypad2;
  uint8_t padding;  // never written by the program
  uint32_t mouseDelay;  // 5..99
  uint32_t keyLeft;     // PC set-1 scancodes
  uint32_t keyRight;
  uint32_t keyRotate;
  uint32_t keyDown;
  ConfigName name;
  uint32_t dropSpeed;    // 1..2
  uint32_t beansToLink;  // 3..99
  uint32_t cpuStrength;  // 1..5
};

static_assert(sizeof(PlayerConfig) == 52);
static_assert(offsetof(PlayerConfig, mouseDelay) == 4);
static_assert(offsetof(PlayerConfig, keyLeft) == 8);
static_assert(offsetof(PlayerConfig, keyDown) == 20);
static_assert(offsetof(PlayerConfig, name) == 24);
static_assert(offsetof(PlayerConfig, name) + offsetof(ConfigName, length) == 28);
static_assert(offsetof(PlayerConfig, name) + offsetof(ConfigName, chars) == 32);
static_assert(offsetof(PlayerConfig, dropSpeed) == 40);
static_assert(offsetof(PlayerConfig, beansToLink) == 44);
static_assert(offsetof(PlayerConfig, cpuStrength) == 48);
