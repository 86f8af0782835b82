// The picture decoder on any bytes: at the size the header claims (so decoding goes on past
// the size check) and at the sheet size. Any write outside the target is caught by ASan.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture.h"

constexpr size_t kMaxPixels = 640 * 400;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodeFault fault;
  if (size >= 12) {
    const int width = (data[8] | (data[9] << 8)) - (data[4] | (data[5] << 8)) + 1;
    const int height = (data[10] | (data[11] << 8)) - (data[6] | (data[7] << 8)) + 1;
    if (width > 0 && height > 0 && static_cast<size_t>(width) * height <= kMaxPixels) {
      std::vector<uint8_t> target(static_cast<size_t>(width) * height);
      uint8_t palette[768];
      DecodePicture(data, size, width, height, target.data(), palette, fault);
    }
  }
  std::vector<uint8_t> sheet(kSheetBytes);
  DecodeFault sheetFault;
  DecodePicture(data, size, kSheetWidth, kSheetHeight, sheet.data(), nullptr, sheetFault);
  return 0;
}
