// The animation decoder on any bytes. The images lie in fixed slots of 65 535 bytes; the slot
// bytes past each image are filled with a marker that must survive every decode, so a write
// past an image is caught even where it stays inside the record.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "animation.h"

namespace {
constexpr uint8_t kMarker = 0xA5;
DecodedAnimation* anim = nullptr;
uint8_t markers[kAnimMaxImageBytes];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!anim) {
    anim = new DecodedAnimation;
    memset(anim->images, kMarker, sizeof anim->images);
    memset(markers, kMarker, sizeof markers);
  }
  DecodeFault fault;
  DecodeAnimation(data, size, 0, 0, *anim, fault);
  if (anim->imageCount > kAnimImages) abort();
  const size_t imageBytes = anim->imageBytes <= kAnimMaxImageBytes ? anim->imageBytes : 0;
  for (int i = 0; i < anim->imageCount; ++i) {
    if (memcmp(anim->images[i] + imageBytes, markers, kAnimMaxImageBytes - imageBytes) != 0)
      abort();
    memset(anim->images[i], kMarker, imageBytes);
  }
  return 0;
}
