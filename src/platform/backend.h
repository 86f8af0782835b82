// The seam below the platform routines: everything that touches a real window, clock,
// event queue or mixer goes through one Backend. The game uses the SDL backend; tests and
// tools use the headless one; the browser build has its own.
#pragma once
#include <cstdint>

struct SoundData;  // opaque: a loaded sound effect, owned by the backend
using SoundHandle = SoundData*;

enum class EventType : uint8_t { kKeyDown, kKeyUp, kQuit, kOther };

struct InputEvent {
  EventType type = EventType::kOther;
  uint16_t sym = 0;  // key symbol, numbered as in SDL 1.2 (keysyms.h)
  uint16_t mod = 0;  // modifier bits (keysyms.h)
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Video
  virtual bool
  InitVideo() = 0;  // start the video subsystem; on success arrange its shutdown at exit
  virtual void SetCaption(const char* caption) = 0;
  // Opens the window showing the 640 x 400 picture, or switches it to or from full screen.
  virtual bool SetVideoMode(bool fullscreen) = 0;
  // Why InitVideo or SetVideoMode failed.
  virtual const char* VideoError() { return "no reason given"; }
  virtual void ShowCursor(bool show) = 0;
  // New colours show at once, on the picture presented last.
  virtual void SetColours(const uint8_t* rgb768) = 0;
  virtual void GetColours(uint8_t* rgb768) = 0;     // the colours the surface shows now
  virtual void Present(const uint8_t* pixels) = 0;  // 640 x 400 palette indices

  // Events and time
  virtual bool PollEvent(InputEvent& event) = 0;
  virtual uint32_t GetTicks() = 0;
  virtual void Delay(uint32_t ms) = 0;

  // Audio (channels here are the mixer's, 0..7)
  virtual bool OpenAudio() = 0;
  virtual int AllocateChannels(int count) = 0;
  virtual SoundHandle LoadSound(const char* file) = 0;  // nullptr when it cannot be loaded
  virtual void PlaySound(SoundHandle sound, int mixerVolume, int mixerChannel) = 0;
  virtual bool AudioRunning() = 0;
  virtual void CloseAudio() = 0;

  // Files: called after the game replaced one of the files it saves (options, high scores), for a
  // backend whose files do not outlive the program by themselves.
  virtual void FileSaved(const char* /*path*/) {}
};

// The backend every platform routine uses. Must be set before the first platform call.
Backend& CurrentBackend();
void SetBackend(Backend* backend);
