// The numbers of the file formats that the readers and the writers share.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pcx {
constexpr size_t kHeaderBytes = 128;
constexpr size_t kPaletteBytes = 768;
constexpr size_t kXMinAt = 4, kYMinAt = 6, kXMaxAt = 8, kYMaxAt = 10;
constexpr uint8_t kRunFlag = 0xC0;  // both top bits set: a run byte, the count in the low six bits
constexpr int kMaxRun = 63;
constexpr uint8_t kPaletteMarker = 12;  // the byte before the 256-colour palette
constexpr int kMaxDimension = 0xFFFF;
}  // namespace pcx

namespace flc {
constexpr size_t kFileHeaderBytes = 128;
constexpr size_t kFrameHeaderBytes = 16;
constexpr size_t kChunkHeaderBytes = 6;
constexpr uint16_t kFileMagic = 0xAF12;
constexpr uint16_t kFrameMagic = 0xF1FA;
constexpr size_t kFrameCountAt = 6, kWidthAt = 8, kHeightAt = 10;
constexpr size_t kChunkCountAt = 6;  // in the frame header
// Chunk types.
constexpr uint16_t kChunkPalette256 = 4;
constexpr uint16_t kChunkWordDelta = 7;
constexpr uint16_t kChunkPalette64 = 11;
constexpr uint16_t kChunkByteDelta = 12;
constexpr uint16_t kChunkBlack = 13;
constexpr uint16_t kChunkByteRun = 15;
constexpr uint16_t kChunkCopy = 16;
// The top two bits of a word-delta opcode word.
constexpr uint16_t kOpcodeMask = 0xC000;
constexpr uint16_t kOpcodePacketCount = 0x0000;
constexpr uint16_t kOpcodeUndefined = 0x4000;
constexpr uint16_t kOpcodeLastPixel = 0x8000;
constexpr uint16_t kOpcodeLineSkip = 0xC000;
}  // namespace flc
