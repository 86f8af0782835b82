// A bounds-checked reader over a block of memory: every read past the end gives 0 and records a
// fault, and the first fault is kept, so a parser can read on and check once at the end.
#pragma once
#include <cstddef>
#include <cstdint>

struct MemReader {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  const char* endFault = "data ends early";  // what a read past the end means to the caller
  const char* fault = nullptr;               // the first fault met, or nullptr
};

MemReader MakeReader(const uint8_t* data, size_t size, const char* endFault);
// Records a fault unless an earlier one is already kept.
void ReaderFault(MemReader& r, const char* fault);
inline bool ReaderOk(const MemReader& r) {
  return r.fault == nullptr;
}
inline size_t ReaderLeft(const MemReader& r) {
  return r.size - r.pos;
}

uint8_t ReadU8(MemReader& r);
int8_t ReadS8(MemReader& r);
uint16_t ReadU16(MemReader& r);
int16_t ReadS16(MemReader& r);
uint32_t ReadU32(MemReader& r);
// The next count bytes, or nullptr (and a fault) when fewer are left.
const uint8_t* ReadBlock(MemReader& r, size_t count);

// A fault with its own words, for the decoders' messages.
struct DecodeFault {
  bool set = false;
  char text[160] = {};
};
// Keeps the first fault only.
void SetFault(DecodeFault& fault, const char* format, ...) __attribute__((format(printf, 2, 3)));
