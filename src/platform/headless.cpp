#include "headless.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "draw.h"
#include "fatal.h"
#include "keyboard.h"
#include "sound.h"
#include "ticks.h"

struct SoundData {
  int number;
};

namespace {
// The sound number a file name ends in ("data/plonkix.w07" -> 7), -1 if none.
int SoundNumberOf(const char* file) {
  const size_t n = strlen(file);
  if (n < 2) return -1;
  const char a = file[n - 2], b = file[n - 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}

uint32_t Checksum(const uint8_t* pixels) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (int i = 0; i < kScreenBytes; ++i) h = (h ^ pixels[i]) * 16777619u;
  return h;
}
}  // namespace

HeadlessBackend::HeadlessBackend() : lastFrame(kScreenBytes, 0) {}
HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::Schedule(uint32_t atMs, const InputEvent& event) {
  Scripted s{atMs, scheduled_++, event};
  auto it =
      std::upper_bound(script_.begin(), script_.end(), s, [](const Scripted& a, const Scripted& b) {
        return a.atMs < b.atMs || (a.atMs == b.atMs && a.order < b.order);
      });
  script_.insert(it, s);
}

void HeadlessBackend::KeyDown(uint32_t atMs, uint16_t sym, uint16_t mod) {
  Schedule(atMs, InputEvent{EventType::kKeyDown, sym, mod});
}
void HeadlessBackend::KeyUp(uint32_t atMs, uint16_t sym, uint16_t mod) {
  Schedule(atMs, InputEvent{EventType::kKeyUp, sym, mod});
}
void HeadlessBackend::Tap(uint32_t atMs, uint16_t sym, uint32_t holdMs, uint16_t mod) {
  KeyDown(atMs, sym, mod);
  KeyUp(atMs + holdMs, sym, mod);
}
void HeadlessBackend::Quit(uint32_t atMs) {
  Schedule(atMs, InputEvent{EventType::kQuit, 0, 0});
}

SoundHandle HeadlessBackend::FakeSound(int number) {
  soundData_.push_back(std::make_unique<SoundData>(SoundData{number}));
  return soundData_.back().get();
}

uint32_t HeadlessBackend::RgbAt(int x, int y) const {
  const uint8_t i = PixelAt(x, y);
  return (colours[3 * i] << 16) | (colours[3 * i + 1] << 8) | colours[3 * i + 2];
}

bool HeadlessBackend::InitVideo() {
  videoStarted = videoWorks;
  return videoWorks;
}
void HeadlessBackend::SetCaption(const char* text) {
  caption = text;
}
bool HeadlessBackend::SetVideoMode(bool full) {
  ++videoModeChanges;
  if (!videoModeWorks) return false;
  screenOpen = true;
  fullscreen = full;
  return true;
}
void HeadlessBackend::ShowCursor(bool show) {
  cursorShown = show;
}
void HeadlessBackend::SetColours(const uint8_t* rgb768) {
  memcpy(colours, rgb768, kPaletteBytes);
  ++paletteChanges;
}
void HeadlessBackend::GetColours(uint8_t* rgb768) {
  memcpy(rgb768, colours, kPaletteBytes);
}
void HeadlessBackend::Present(const uint8_t* pixels) {
  memcpy(lastFrame.data(), pixels, kScreenBytes);
  ++framesPresented;
  if (keepFrameChecksums) frameChecksums.push_back(Checksum(pixels));
  if (onPresent) onPresent(*this);
}

bool HeadlessBackend::PollEvent(InputEvent& event) {
  if (onPoll) onPoll(*this);
  if (script_.empty() || script_.front().atMs > now) return false;
  event = script_.front().event;
  script_.pop_front();
  return true;
}
uint32_t HeadlessBackend::GetTicks() {
  return now;
}
void HeadlessBackend::Delay(uint32_t ms) {
  now += ms;
  if (now > timeLimitMs) throw HeadlessTimeout("headless run passed its virtual time limit");
}

PadReading HeadlessBackend::ReadPad(int slot) {
  return slot >= 0 && slot < kPadSlots ? pads[slot] : PadReading{};
}
bool HeadlessBackend::HasMouse() {
  return mousePresent;
}
PointerReading HeadlessBackend::ReadPointer() {
  return pointer;
}
void HeadlessBackend::WarpPointer(int32_t x, int32_t y) {
  pointer.x = x;
  pointer.y = y;
  ++pointerWarps;
}
void HeadlessBackend::CapturePointer(bool captured) {
  pointerCaptured = captured;
}

bool HeadlessBackend::OpenAudio() {
  if (!audioWorks) return false;
  audioOpen = true;
  ++audioOpens;
  return true;
}
int HeadlessBackend::AllocateChannels(int) {
  return channelsGranted;
}
SoundHandle HeadlessBackend::LoadSound(const char* file) {
  FILE* f = fopen(file, "rb");
  if (!f) return nullptr;
  fclose(f);
  return FakeSound(SoundNumberOf(file));
}
void HeadlessBackend::PlaySound(SoundHandle sound, int mixerVolume, int mixerChannel) {
  sounds.push_back(SoundCall{sound->number, mixerVolume, mixerChannel, now});
}
bool HeadlessBackend::AudioRunning() {
  return audioOpen;
}
void HeadlessBackend::CloseAudio() {
  audioOpen = false;
}

void HeadlessBackend::FileSaved(const char* path) {
  savedFiles.push_back(path);
}

void ResetPlatformState() {
  ClearKeyState();
  TickHandler = nullptr;
  TickHandlerActive = 0;
  AnimCounter = 0;
  TicksCounted = 0;
  SetTickReference(0);
  Fullscreen = 0;
  MouseCaptured = 0;
  SoundAvailable = 0;
  ResetInputDevices();
  for (auto& s : Sounds) s = nullptr;
}

HeadlessSession::HeadlessSession() : backend_(std::make_unique<HeadlessBackend>()) {
  SetBackend(backend_.get());
  ResetPlatformState();
  ThrowInsteadOfExiting(true);
}

HeadlessSession::~HeadlessSession() {
  ResetPlatformState();
  SetBackend(nullptr);
}
