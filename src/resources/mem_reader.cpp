#include "mem_reader.h"

#include <cstdarg>
#include <cstdio>

MemReader MakeReader(const uint8_t* data, size_t size, const char* endFault) {
  MemReader r;
  r.data = data;
  r.size = data ? size : 0;
  r.endFault = endFault;
  return r;
}

void ReaderFault(MemReader& r, const char* fault) {
  if (!r.fault) r.fault = fault;
}

const uint8_t* ReadBlock(MemReader& r, size_t count) {
  if (r.fault) return nullptr;
  if (count > r.size - r.pos) {
    r.fault = r.endFault;
    r.pos = r.size;
    return nullptr;
  }
  const uint8_t* block = r.data + r.pos;
  r.pos += count;
  return block;
}

uint8_t ReadU8(MemReader& r) {
  const uint8_t* b = ReadBlock(r, 1);
  return b ? b[0] : 0;
}

int8_t ReadS8(MemReader& r) {
  return static_cast<int8_t>(ReadU8(r));
}

uint16_t ReadU16(MemReader& r) {
  const uint8_t* b = ReadBlock(r, 2);
  return b ? static_cast<uint16_t>(b[0] | (b[1] << 8)) : 0;
}

int16_t ReadS16(MemReader& r) {
  return static_cast<int16_t>(ReadU16(r));
}

uint32_t ReadU32(MemReader& r) {
  const uint8_t* b = ReadBlock(r, 4);
  return b ? static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                 (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24)
           : 0;
}

void SetFault(DecodeFault& fault, const char* format, ...) {
  if (fault.set) return;
  fault.set = true;
  va_list args;
  va_start(args, format);
  vsnprintf(fault.text, sizeof fault.text, format, args);
  va_end(args);
}
