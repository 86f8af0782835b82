// The configuration reader on any bytes: whatever the file holds, the records it yields are safe.
#include <cstdint>
#include <cstdlib>

#include "config_file.h"

namespace {
void CheckSafe(const PlayerConfig& c) {
  for (uint32_t key : {c.keyLeft, c.keyRight, c.keyRotate, c.keyDown})
    if (key > 127) abort();
  if (c.beansToLink < 3 || c.name.length > kNameCapacity || c.name.capacity != kNameCapacity ||
      c.cpuStrength < 1 || c.cpuStrength > 5 || c.dropSpeed < 1 || c.dropSpeed > 99)
    abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PlayerConfig one{}, two{};
  const bool ok = ParseConfig(data, size, one, two);
  if (ok != (size >= kConfigFileBytes)) abort();
  if (ok) {
    CheckSafe(one);
    CheckSafe(two);
  }
  return 0;
}
