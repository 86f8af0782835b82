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

// Game controllers: slot 0 is joypad 1, slot 1 joypad 2.
constexpr int kPadSlots = 2;
// Buttons of a controller, by their place on a common gamepad (a device without a known layout
// reports its first two buttons as A and B, its first hat as the d-pad).
constexpr uint16_t kPadA = 1, kPadB = 2, kPadStart = 4, kPadUp = 8, kPadDown = 16, kPadLeft = 32,
                   kPadRight = 64;
constexpr int32_t kStickMost = 32767;  // a stick reads -kStickMost..kStickMost

struct PadReading {
  bool connected = false;
  int32_t stickX = 0, stickY = 0;  // the left stick (or axes 0 and 1): right and down positive
  uint16_t buttons = 0;            // kPad... bits held now
};

// The mouse in picture coordinates (0..639, 0..399), whatever the window's size.
constexpr int32_t kPictureCentreX = 320, kPictureCentreY = 200;
struct PointerReading {
  int32_t x = kPictureCentreX, y = kPictureCentreY;
  bool button = false;  // any button held
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

  // Input devices beside the keyboard, as of the last PollEvent that returned false.
  virtual PadReading ReadPad(int /*slot*/) { return PadReading{}; }
  virtual bool HasMouse() { return false; }
  // Without the input focus the pointer reads as resting at the picture's centre.
  virtual PointerReading ReadPointer() { return PointerReading{}; }
  // Puts the pointer at a picture position, only while the window has the input focus.
  virtual void WarpPointer(int32_t /*x*/, int32_t /*y*/) {}
  // A captured pointer cannot leave the window (ShowCursor hides it).
  virtual void CapturePointer(bool /*captured*/) {}

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
