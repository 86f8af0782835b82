// A backend without display, clock or sound card, for tests and tools: a virtual millisecond
// clock that Delay advances at once, a scripted queue of key events keyed to virtual times,
// a record of every presented frame and palette, and a log of played sounds.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backend.h"
#include "display.h"

struct HeadlessTimeout : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  // ---- What a test sets up ----
  bool videoWorks = true;      // InitVideo result
  bool videoModeWorks = true;  // SetVideoMode result
  bool audioWorks = true;      // OpenAudio result
  int channelsGranted = 8;     // AllocateChannels result
  uint32_t timeLimitMs =
      30u * 60u * 1000u;            // virtual time after which Delay throws HeadlessTimeout
  bool keepFrameChecksums = false;  // record a checksum per presented frame

  // Scripted events, delivered by PollEvent once the virtual clock has reached their time.
  void KeyDown(uint32_t atMs, uint16_t sym, uint16_t mod = 0);
  void KeyUp(uint32_t atMs, uint16_t sym, uint16_t mod = 0);
  void Tap(uint32_t atMs, uint16_t sym, uint32_t holdMs = 100, uint16_t mod = 0);
  void Quit(uint32_t atMs);
  // Called after every presented frame and at every event poll: tests may inspect or script there.
  std::function<void(HeadlessBackend&)> onPresent;
  std::function<void(HeadlessBackend&)> onPoll;

  // The controllers and the mouse as ReadPad, HasMouse and ReadPointer report them; a warp moves
  // the pointer.
  PadReading pads[kPadSlots];
  bool mousePresent = false;
  PointerReading pointer;

  // A fake loaded sound that reports number k in the sound log (for tests without data files).
  SoundHandle FakeSound(int number);

  // ---- What a test reads ----
  uint32_t now = 0;  // the virtual clock in ms
  bool videoStarted = false;
  bool screenOpen = false;
  bool fullscreen = false;
  bool cursorShown = false;
  bool pointerCaptured = false;
  int pointerWarps = 0;
  int videoModeChanges = 0;
  std::string caption;
  uint8_t colours[kPaletteBytes] = {};  // the colours on "screen"
  uint64_t paletteChanges = 0;
  std::vector<uint8_t> lastFrame;  // the last presented picture
  uint64_t framesPresented = 0;
  std::vector<uint32_t> frameChecksums;
  bool audioOpen = false;
  int audioOpens = 0;
  struct SoundCall {
    int number;  // sound number (from the file name or FakeSound), -1 if unknown
    int mixerVolume;
    int mixerChannel;
    uint32_t atMs;
  };
  std::vector<SoundCall> sounds;
  std::vector<std::string> savedFiles;  // FileSaved reports, in order
  size_t PendingEvents() const { return script_.size(); }
  // The colour of a presented pixel in the palette on screen now.
  uint32_t RgbAt(int x, int y) const;
  uint8_t PixelAt(int x, int y) const { return lastFrame[y * kScreenWidth + x]; }

  // ---- Backend ----
  bool InitVideo() override;
  void SetCaption(const char* text) override;
  bool SetVideoMode(bool full) override;
  void ShowCursor(bool show) override;
  void SetColours(const uint8_t* rgb768) override;
  void GetColours(uint8_t* rgb768) override;
  void Present(const uint8_t* pixels) override;
  bool PollEvent(InputEvent& event) override;
  uint32_t GetTicks() override;
  void Delay(uint32_t ms) override;
  PadReading ReadPad(int slot) override;
  bool HasMouse() override;
  PointerReading ReadPointer() override;
  void WarpPointer(int32_t x, int32_t y) override;
  void CapturePointer(bool captured) override;
  bool OpenAudio() override;
  int AllocateChannels(int count) override;
  SoundHandle LoadSound(const char* file) override;
  void PlaySound(SoundHandle sound, int mixerVolume, int mixerChannel) override;
  bool AudioRunning() override;
  void CloseAudio() override;
  void FileSaved(const char* path) override;

 private:
  struct Scripted {
    uint32_t atMs;
    uint64_t order;
    InputEvent event;
  };
  void Schedule(uint32_t atMs, const InputEvent& event);
  std::deque<Scripted> script_;
  uint64_t scheduled_ = 0;
  std::vector<std::unique_ptr<SoundData>> soundData_;
};

// Makes a fresh headless backend current, clears the platform state (keys, tick clock, handler,
// flags), makes fatal errors and program exits throw, and restores the previous backend on exit.
class HeadlessSession {
 public:
  HeadlessSession();
  ~HeadlessSession();
  HeadlessBackend& backend() { return *backend_; }
  HeadlessBackend* operator->() { return backend_.get(); }

 private:
  std::unique_ptr<HeadlessBackend> backend_;
};

// Clears the platform's global state as at program start (not the buffers' contents).
void ResetPlatformState();
