// Fixed-capacity texts: a current length and the characters; writers cut what does not fit.
#pragma once
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

template <uint32_t Capacity>
struct FixedText {
  uint32_t length = 0;
  char chars[Capacity] = {};

  static constexpr uint32_t capacity = Capacity;

  void Set(const char* text) {
    const size_t n = strlen(text);
    length = n > Capacity ? Capacity : static_cast<uint32_t>(n);
    memcpy(chars, text, length);
  }
  void Clear() { length = 0; }
  bool Empty() const { return length == 0; }
  // Zero-terminated copy for drawing.
  void CopyTo(char* out) const {
    memcpy(out, chars, length);
    out[length] = 0;
  }
};

// Plain decimal: as many digits as needed, a minus sign only for negative values.
inline int FormatNumber(char* out, size_t size, int64_t value) {
  return snprintf(out, size, "%" PRId64, value);
}
