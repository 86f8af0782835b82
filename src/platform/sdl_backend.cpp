#include "sdl_backend.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <SDL2/SDL_syswm.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display.h"
#include "keymap.h"
#include "keysyms.h"
#include "scaler.h"

// Our key code and modifier constants must be SDL's own values.
static_assert(keycode::kReturn == SDLK_RETURN && keycode::kEscape == SDLK_ESCAPE &&
              keycode::kBackspace == SDLK_BACKSPACE && keycode::kTab == SDLK_TAB &&
              keycode::kSpace == SDLK_SPACE && keycode::kDelete == SDLK_DELETE &&
              keycode::kA == SDLK_a && keycode::kZ == SDLK_z && keycode::k0 == SDLK_0 &&
              keycode::k9 == SDLK_9 && keycode::kPositionBit == SDLK_SCANCODE_MASK);
static_assert(keycode::kCapsLock == SDLK_CAPSLOCK && keycode::kF1 == SDLK_F1 &&
              keycode::kF12 == SDLK_F12 && keycode::kF13 == SDLK_F13 && keycode::kF15 == SDLK_F15 &&
              keycode::kPrintScreen == SDLK_PRINTSCREEN &&
              keycode::kScrollLock == SDLK_SCROLLLOCK && keycode::kPause == SDLK_PAUSE &&
              keycode::kInsert == SDLK_INSERT && keycode::kHome == SDLK_HOME &&
              keycode::kPageUp == SDLK_PAGEUP && keycode::kEnd == SDLK_END &&
              keycode::kPageDown == SDLK_PAGEDOWN && keycode::kRight == SDLK_RIGHT &&
              keycode::kLeft == SDLK_LEFT && keycode::kDown == SDLK_DOWN &&
              keycode::kUp == SDLK_UP);
static_assert(keycode::kNumLock == SDLK_NUMLOCKCLEAR && keycode::kKpDivide == SDLK_KP_DIVIDE &&
              keycode::kKpMultiply == SDLK_KP_MULTIPLY && keycode::kKpMinus == SDLK_KP_MINUS &&
              keycode::kKpPlus == SDLK_KP_PLUS && keycode::kKpEnter == SDLK_KP_ENTER &&
              keycode::kKp1 == SDLK_KP_1 && keycode::kKp9 == SDLK_KP_9 &&
              keycode::kKp0 == SDLK_KP_0 && keycode::kKpPeriod == SDLK_KP_PERIOD &&
              keycode::kKpEquals == SDLK_KP_EQUALS && keycode::kApplication == SDLK_APPLICATION &&
              keycode::kPower == SDLK_POWER && keycode::kHelp == SDLK_HELP &&
              keycode::kMenu == SDLK_MENU && keycode::kUndo == SDLK_UNDO &&
              keycode::kSysReq == SDLK_SYSREQ && keycode::kClear == SDLK_CLEAR);
static_assert(keycode::kLCtrl == SDLK_LCTRL && keycode::kLShift == SDLK_LSHIFT &&
              keycode::kLAlt == SDLK_LALT && keycode::kLGui == SDLK_LGUI &&
              keycode::kRCtrl == SDLK_RCTRL && keycode::kRShift == SDLK_RSHIFT &&
              keycode::kRAlt == SDLK_RALT && keycode::kRGui == SDLK_RGUI &&
              keycode::kMode == SDLK_MODE);
static_assert(keymod::kLAlt == KMOD_LALT && keymod::kRAlt == KMOD_RALT &&
              keymod::kLCtrl == KMOD_LCTRL && keymod::kRCtrl == KMOD_RCTRL &&
              keymod::kLShift == KMOD_LSHIFT && keymod::kRShift == KMOD_RSHIFT &&
              keymod::kLMeta == KMOD_LGUI && keymod::kRMeta == KMOD_RGUI &&
              keymod::kNum == KMOD_NUM && keymod::kCaps == KMOD_CAPS && keymod::kMode == KMOD_MODE);

namespace {
constexpr int kMinWindowWidth = kScreenWidth / 2, kMinWindowHeight = kScreenHeight / 2;
constexpr int kAudioRate = 22050, kAudioChunk = 2048;
constexpr unsigned kGlRendererName = 0x1F01;  // GL_RENDERER
// OpenGL drivers that draw on the CPU: through them a present costs several times the window
// surface's.
constexpr const char* kSoftwareRasterisers[] = {"llvmpipe", "softpipe", "Software Rasterizer",
                                                "swrast"};

// Drivers that draw where no one sees: SDL falls back to them when no display can be reached.
constexpr const char* kUnseenVideoDrivers[] = {"offscreen", "dummy", "evdev"};

SdlWindowOptions windowOptions;

bool Set(const char* variable) {
  const char* value = getenv(variable);
  return value && *value;
}

// Every video driver of this SDL that shows a window to someone, as one list for SDL to try.
// Wayland without its runtime directory cannot connect (and would say so on stderr).
std::string SeenVideoDrivers() {
  std::string drivers;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* driver = SDL_GetVideoDriver(i);
    bool unseen = SDL_strcasecmp(driver, "wayland") == 0 && !Set("XDG_RUNTIME_DIR");
    for (const char* name : kUnseenVideoDrivers)
      unseen = unseen || SDL_strcasecmp(driver, name) == 0;
    if (unseen) continue;
    if (!drivers.empty()) drivers += ',';
    drivers += driver;
  }
  return drivers;
}

// Why no display could be reached, in plainer words than the drivers' own.
std::string DisplayProblem() {
  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) return "no display: DISPLAY is not set";
  if (Set("DISPLAY")) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
      return std::string("no connection to the X server at ") + getenv("DISPLAY") +
             " (not running, or refused)";
    XCloseDisplay(display);
  }
  return "no video driver could start";
}

// The X server offers direct rendering only with a GPU driver behind it (Mesa's DRI2/DRI3 or
// NVIDIA's own GLX); elsewhere OpenGL would be a software rasteriser, and loading it alone costs
// about 100 ms. Other window systems are asked through OpenGL itself.
bool GpuMayBePresent(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info)) return true;
#ifdef SDL_VIDEO_DRIVER_X11
  if (info.subsystem == SDL_SYSWM_X11) {
    int opcode = 0, event = 0, error = 0;
    for (const char* extension : {"DRI3", "DRI2", "NV-GLX"})
      if (XQueryExtension(info.info.x11.display, extension, &opcode, &event, &error)) return true;
    return false;
  }
#endif
  return true;
}

// Full screen is the window manager's work; on an X server without one (a kiosk, a bare X
// session, Xvfb) the window is moved over the whole display by hand.
void CoverDisplayWithoutWindowManager(SDL_Window* window) {
#ifdef SDL_VIDEO_DRIVER_X11
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const bool managed =
      check != None &&
      XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType,
                         &type, &format, &count, &remaining, &data) == Success &&
      count > 0;
  if (data) XFree(data);
  SDL_Rect bounds;
  if (managed || SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &bounds) != 0)
    return;
  XMoveResizeWindow(display, info.info.x11.window, bounds.x, bounds.y, bounds.w, bounds.h);
  XRaiseWindow(display, info.info.x11.window);
  XFlush(display);
#else
  (void)window;
#endif
}

// An accelerated renderer that really draws on a GPU.
bool RendersOnGpu(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || !(info.flags & SDL_RENDERER_ACCELERATED))
    return false;
  if (strncmp(info.name, "opengl", 6) != 0) return true;  // Direct3D, Metal
  using GetString = const unsigned char* (*)(unsigned);
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const auto* name =
      getString ? reinterpret_cast<const char*>(getString(kGlRendererName)) : nullptr;
  if (!name) return false;
  for (const char* software : kSoftwareRasterisers)
    if (strstr(name, software)) return false;
  return true;
}

bool EightBitChannels(const SDL_PixelFormat* format) {
  if (format->BytesPerPixel != 4) return false;
  for (Uint32 mask : {format->Rmask, format->Gmask, format->Bmask})
    if (mask != 0xFFu && mask != 0xFF00u && mask != 0xFF0000u && mask != 0xFF000000u) return false;
  return true;
}

// Two ways to the screen. Without a GPU the picture is scaled on the CPU straight into the
// window's own framebuffer, converting only what changed. With a GPU the 1x picture goes to a
// streaming texture, is drawn with "nearest" sampling into a target texture of a whole multiple,
// and that one with "linear" sampling into the window.
class Sdl final : public Backend {
 public:
  bool InitVideo() override {
    // The window surface is the window system's own framebuffer, never a texture on a renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");  // the 14 ms tick sets the pace
    // Only a window someone sees (SDL_VIDEODRIVER in the environment still chooses any driver).
    SDL_SetHint(SDL_HINT_VIDEODRIVER, SeenVideoDrivers().c_str());
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      Failed();
      error_ = DisplayProblem() + "; SDL: " + error_;
      return false;
    }
    atexit(SDL_Quit);
    StartPads();
    return true;
  }
  const char* VideoError() override { return error_.c_str(); }
  void SetCaption(const char* caption) override {
    caption_ = caption;
    if (window_) SDL_SetWindowTitle(window_, caption);
  }
  bool SetVideoMode(bool fullscreen) override {
    return window_ ? SwitchFullscreen(fullscreen) : OpenWindow(fullscreen);
  }
  void ShowCursor(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }
  void SetColours(const uint8_t* rgb) override {
    memcpy(colours_, rgb, kPaletteBytes);
    if (!window_) return;
    MapColours();
    // As with a hardware palette, the picture on screen changes colour at once.
    if (shown_ && OutputReady()) Push(scaler_.Redraw());
  }
  void GetColours(uint8_t* rgb) override { memcpy(rgb, colours_, kPaletteBytes); }
  void Present(const uint8_t* pixels) override {
    if (!window_ || !OutputReady()) return;
    Push(scaler_.Show(pixels));
    shown_ = true;
  }

  bool PollEvent(InputEvent& event) override {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    event = InputEvent{};
    switch (e.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (e.key.repeat) break;  // held keys stay held in the KeyState
        event.type = e.type == SDL_KEYDOWN ? EventType::kKeyDown : EventType::kKeyUp;
        event.sym = KeySymbolOf(static_cast<uint32_t>(e.key.keysym.sym));
        event.mod = e.key.keysym.mod;
        break;
      case SDL_QUIT:
        event.type = EventType::kQuit;
        break;
      case SDL_JOYDEVICEADDED:
        FillPadSlots();
        break;
      case SDL_JOYDEVICEREMOVED:
        ClosePad(e.jdevice.which);
        break;
      case SDL_MOUSEMOTION:
        pointerWarped_ = false;  // the pointer is where SDL says again
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          ShowAgain();
        break;
      case SDL_RENDER_TARGETS_RESET:
        ShowAgain();
        break;
      case SDL_RENDER_DEVICE_RESET:  // every texture is lost
        if (renderer_ && MakeTextures()) ShowAgain();
        break;
      default:
        break;
    }
    return true;
  }
  uint32_t GetTicks() override { return SDL_GetTicks(); }
  void Delay(uint32_t ms) override { SDL_Delay(ms); }

  bool OpenAudio() override {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(kAudioRate, AUDIO_S16LSB, 1, kAudioChunk) != 0) {
      fprintf(stderr, "plonkix: playing without sound: %s\n", SDL_GetError());
      return false;
    }
    mixerOpen_ = true;
    return true;
  }
  int AllocateChannels(int count) override { return Mix_AllocateChannels(count); }
  SoundHandle LoadSound(const char* file) override {
    if (!mixerOpen_) return nullptr;
    return reinterpret_cast<SoundHandle>(Mix_LoadWAV_RW(SDL_RWFromFile(file, "rb"), 1));
  }
  void PlaySound(SoundHandle sound, int mixerVolume, int mixerChannel) override {
    if (!mixerOpen_) return;
    Mix_Volume(mixerChannel, mixerVolume);
    Mix_PlayChannelTimed(mixerChannel, reinterpret_cast<Mix_Chunk*>(sound), 0, -1);
  }
  bool AudioRunning() override { return SDL_WasInit(SDL_INIT_AUDIO) != 0; }
  void CloseAudio() override {
    if (mixerOpen_) Mix_CloseAudio();
    mixerOpen_ = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  PadReading ReadPad(int slot) override {
    PadReading reading;
    if (slot < 0 || slot >= kPadSlots) return reading;
    const Pad& pad = pads_[slot];
    if (!pad.joystick || !SDL_JoystickGetAttached(pad.joystick)) return reading;
    reading.connected = true;
    if (pad.controller) {
      reading.stickX = SDL_GameControllerGetAxis(pad.controller, SDL_CONTROLLER_AXIS_LEFTX);
      reading.stickY = SDL_GameControllerGetAxis(pad.controller, SDL_CONTROLLER_AXIS_LEFTY);
      for (const ControllerButton& b : kControllerButtons)
        if (SDL_GameControllerGetButton(pad.controller, b.button)) reading.buttons |= b.bit;
      return reading;
    }
    // A device the mapping database does not know: axes 0 and 1, buttons 0 and 1, hat 0.
    if (SDL_JoystickNumAxes(pad.joystick) >= 2) {
      reading.stickX = SDL_JoystickGetAxis(pad.joystick, 0);
      reading.stickY = SDL_JoystickGetAxis(pad.joystick, 1);
    }
    if (SDL_JoystickGetButton(pad.joystick, 0)) reading.buttons |= kPadA;
    if (SDL_JoystickGetButton(pad.joystick, 1)) reading.buttons |= kPadB;
    const Uint8 hat = SDL_JoystickNumHats(pad.joystick) > 0 ? SDL_JoystickGetHat(pad.joystick, 0)
                                                            : SDL_HAT_CENTERED;
    if (hat & SDL_HAT_UP) reading.buttons |= kPadUp;
    if (hat & SDL_HAT_DOWN) reading.buttons |= kPadDown;
    if (hat & SDL_HAT_LEFT) reading.buttons |= kPadLeft;
    if (hat & SDL_HAT_RIGHT) reading.buttons |= kPadRight;
    return reading;
  }

  // Video drivers with a pointer make a default cursor; those without (dummy, offscreen) none.
  bool HasMouse() override { return SDL_GetDefaultCursor() != nullptr; }

  PointerReading ReadPointer() override {
    PointerReading reading;
    if (!Focused()) return reading;
    int x = 0, y = 0;
    const Uint32 buttons = SDL_GetMouseState(&x, &y);
    reading.button = (buttons & (SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_RMASK)) != 0;
    // Until the pointer has been seen where it was put, it is there.
    if (pointerWarped_) {
      reading.x = warpedTo_.x;
      reading.y = warpedTo_.y;
      return reading;
    }
    // Window units to pixels (HiDPI), then through the letterbox to the picture.
    const double pixelsPerUnit = PixelsPerUnit();
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(window_, &w, &h);
    const PixelRect fit = FitPicture(w, h);
    if (fit.w <= 0 || fit.h <= 0) return reading;
    const int64_t px = static_cast<int64_t>(std::floor(x * pixelsPerUnit)) - fit.x;
    const int64_t py = static_cast<int64_t>(std::floor(y * pixelsPerUnit)) - fit.y;
    reading.x =
        static_cast<int32_t>(std::clamp<int64_t>(px * kScreenWidth / fit.w, 0, kScreenWidth - 1));
    reading.y =
        static_cast<int32_t>(std::clamp<int64_t>(py * kScreenHeight / fit.h, 0, kScreenHeight - 1));
    return reading;
  }

  // To the middle of that picture pixel on screen.
  void WarpPointer(int32_t x, int32_t y) override {
    if (!Focused()) return;
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(window_, &w, &h);
    const PixelRect fit = FitPicture(w, h);
    const double pixelsPerUnit = PixelsPerUnit();
    const int64_t px = fit.x + (2 * static_cast<int64_t>(x) + 1) * fit.w / (2 * kScreenWidth);
    const int64_t py = fit.y + (2 * static_cast<int64_t>(y) + 1) * fit.h / (2 * kScreenHeight);
    SDL_WarpMouseInWindow(window_, static_cast<int>(px / pixelsPerUnit),
                          static_cast<int>(py / pixelsPerUnit));
    pointerWarped_ = true;
    warpedTo_ = SDL_Point{x, y};
  }

  void CapturePointer(bool captured) override {
    if (window_) SDL_SetWindowGrab(window_, captured ? SDL_TRUE : SDL_FALSE);
  }

 private:
  struct Pad {
    SDL_GameController* controller = nullptr;  // when the mapping database knows the device
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID id = -1;
  };
  struct ControllerButton {
    SDL_GameControllerButton button;
    uint16_t bit;
  };
  static constexpr ControllerButton kControllerButtons[] = {
      {SDL_CONTROLLER_BUTTON_A, kPadA},
      {SDL_CONTROLLER_BUTTON_B, kPadB},
      {SDL_CONTROLLER_BUTTON_START, kPadStart},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, kPadUp},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kPadDown},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kPadLeft},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kPadRight},
  };

  // Controllers are optional: without the subsystem the game plays on the keyboard and mouse.
  void StartPads() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    FillPadSlots();
  }

  // Every free slot takes the first attached device that has none, so a controller plugged in
  // later, or one waiting beyond the first two, becomes joypad 1 or 2 as a slot frees.
  void FillPadSlots() {
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
      Pad* free = nullptr;
      for (Pad& pad : pads_)
        if (!pad.joystick && !free) free = &pad;
      if (!free) return;
      const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
      bool taken = id < 0;
      for (const Pad& pad : pads_) taken = taken || pad.id == id;
      if (taken) continue;
      Pad opened;
      if (SDL_IsGameController(device)) {
        opened.controller = SDL_GameControllerOpen(device);
        if (opened.controller) opened.joystick = SDL_GameControllerGetJoystick(opened.controller);
      } else {
        opened.joystick = SDL_JoystickOpen(device);
      }
      if (!opened.joystick) continue;
      opened.id = SDL_JoystickInstanceID(opened.joystick);
      *free = opened;
    }
  }

  void ClosePad(SDL_JoystickID id) {
    for (Pad& pad : pads_) {
      if (pad.id != id) continue;
      if (pad.controller)
        SDL_GameControllerClose(pad.controller);
      else
        SDL_JoystickClose(pad.joystick);
      pad = Pad{};
    }
    FillPadSlots();
  }

  bool Focused() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
  }

  double PixelsPerUnit() const {
    int units = 0, unitsHigh = 0, pixels = 0, pixelsHigh = 0;
    SDL_GetWindowSize(window_, &units, &unitsHigh);
    SDL_GetWindowSizeInPixels(window_, &pixels, &pixelsHigh);
    return units > 0 && pixels > 0 ? static_cast<double>(pixels) / units : 1;
  }

  bool Failed() {
    error_ = SDL_GetError();
    if (error_.empty()) error_ = "unknown error";
    return false;
  }

  // A hidden window of the chosen whole multiple, in pixels also where window units are larger
  // (HiDPI), centred on its display.
  bool CreateWindow() {
    window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth, kScreenHeight,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window_) return false;
    SDL_SetWindowMinimumSize(window_, kMinWindowWidth, kMinWindowHeight);
    int units = 0, unitsHigh = 0, pixels = 0, pixelsHigh = 0;
    SDL_GetWindowSize(window_, &units, &unitsHigh);
    SDL_GetWindowSizeInPixels(window_, &pixels, &pixelsHigh);
    const double pixelsPerUnit = units > 0 && pixels > 0 ? static_cast<double>(pixels) / units : 1;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
    int scale = windowOptions.scale;
    SDL_Rect usable;
    if (scale <= 0)
      scale = SDL_GetDisplayUsableBounds(display, &usable) == 0
                  ? WholeScaleFitting(static_cast<int>(usable.w * pixelsPerUnit),
                                      static_cast<int>(usable.h * pixelsPerUnit))
                  : 1;
    SDL_SetWindowSize(window_, static_cast<int>(std::lround(scale * kScreenWidth / pixelsPerUnit)),
                      static_cast<int>(std::lround(scale * kScreenHeight / pixelsPerUnit)));
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
    SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
    return true;
  }

  bool OpenWindow(bool fullscreen) {
    if (!CreateWindow()) return Failed();
    const char* askedRenderer = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (askedRenderer && *askedRenderer) {
      renderer_ = SDL_CreateRenderer(window_, -1, 0);  // the player's choice, whatever it is
      if (!renderer_) return Failed();
    } else if (GpuMayBePresent(window_)) {
      renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
      if (renderer_ && !RendersOnGpu(renderer_)) {
        // A window made for OpenGL; the framebuffer path starts again from a plain one.
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
        SDL_DestroyWindow(window_);
        if (!CreateWindow()) return Failed();
      }
    }
    if (!renderer_ && !SDL_GetWindowSurface(window_)) {
      renderer_ =
          SDL_CreateRenderer(window_, -1, 0);  // no framebuffer here (Wayland): any renderer
      if (!renderer_) return Failed();
    }
    if (renderer_ && !MakeTextures()) return Failed();
    if (fullscreen && SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
      return Failed();
    SDL_ShowWindow(window_);
    if (fullscreen) CoverDisplayWithoutWindowManager(window_);
    SDL_StopTextInput();
    if (!OutputReady()) return Failed();
    MapColours();
    return true;
  }

  // Desktop resolution, no mode switch; back in the window, the earlier size and place (a
  // desktop without a window manager would leave the window at full-screen size).
  bool SwitchFullscreen(bool fullscreen) {
    if (fullscreen) {
      SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
      SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
      if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return Failed();
      CoverDisplayWithoutWindowManager(window_);
    } else {
      if (SDL_SetWindowFullscreen(window_, 0) != 0) return Failed();
      SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
      SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
    }
    return OutputReady() || Failed();
  }

  // The streaming texture of the 1x picture; the scaler converts into its copy in memory.
  bool MakeTextures() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (intermediate_) SDL_DestroyTexture(intermediate_);
    intermediate_ = nullptr;
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
    if (!texture_) return false;
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    picture_.assign(kScreenBytes, 0);
    scaler_.SetOutput(reinterpret_cast<uint8_t*>(picture_.data()), kScreenWidth * 4, kScreenWidth,
                      kScreenHeight);
    outputWidth_ = outputHeight_ = 0;
    return true;
  }

  // Makes the output match the window's size now: a new window surface, or for the renderer the
  // place of the picture and the size of the target texture.
  bool OutputReady() {
    if (renderer_) {
      int w = 0, h = 0;
      if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0) return false;
      if (w != outputWidth_ || h != outputHeight_) LayOutRenderer(w, h);
      return true;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return false;
    if (surface == surface_ && surface->w == outputWidth_ && surface->h == outputHeight_ &&
        surface->pixels == outputPixels_)
      return true;
    surface_ = surface;
    outputWidth_ = surface->w;
    outputHeight_ = surface->h;
    outputPixels_ = surface->pixels;
    SDL_FreeSurface(shadow_);
    shadow_ = nullptr;
    if (!EightBitChannels(surface->format)) {  // e.g. a 16-bit display: convert by blitting
      shadow_ =
          SDL_CreateRGBSurfaceWithFormat(0, surface->w, surface->h, 32, SDL_PIXELFORMAT_XRGB8888);
      if (!shadow_) return false;
    }
    SDL_Surface* target = shadow_ ? shadow_ : surface;
    scaler_.SetOutput(static_cast<uint8_t*>(target->pixels), target->pitch, target->w, target->h);
    MapColours();
    return true;
  }

  void LayOutRenderer(int w, int h) {
    outputWidth_ = w;
    outputHeight_ = h;
    fit_ = FitPicture(w, h);
    int upscale = UpscaleFor(fit_);
    const bool whole = fit_.w == upscale * kScreenWidth && fit_.h == upscale * kScreenHeight;
    if (intermediate_) SDL_DestroyTexture(intermediate_);
    intermediate_ = nullptr;
    for (; !whole && upscale > 1 && !intermediate_; --upscale)
      intermediate_ =
          SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                            upscale * kScreenWidth, upscale * kScreenHeight);
    if (intermediate_) {
      SDL_SetTextureBlendMode(intermediate_, SDL_BLENDMODE_NONE);
      SDL_SetTextureScaleMode(intermediate_, SDL_ScaleModeLinear);
    }
    // Below 1x there is nothing to upscale: the picture goes to the window smoothly.
    SDL_SetTextureScaleMode(texture_,
                            whole || intermediate_ ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  }

  void MapColours() {
    uint32_t mapped[256];
    const SDL_PixelFormat* format = renderer_ ? nullptr
                                              : (shadow_    ? shadow_->format
                                                 : surface_ ? surface_->format
                                                            : nullptr);
    for (int i = 0; i < 256; ++i) {
      const uint8_t r = colours_[3 * i], g = colours_[3 * i + 1], b = colours_[3 * i + 2];
      mapped[i] = format ? SDL_MapRGB(format, r, g, b) : 0xFF000000u | r << 16 | g << 8 | b;
    }
    scaler_.SetColours(mapped);
  }

  // Sends the converted rectangles to the screen.
  void Push(const std::vector<PixelRect>& rects) {
    if (rects.empty()) return;
    if (renderer_) {
      for (const PixelRect& r : rects) {
        const SDL_Rect area{r.x, r.y, r.w, r.h};
        SDL_UpdateTexture(texture_, &area, &picture_[r.y * kScreenWidth + r.x], kScreenWidth * 4);
      }
      Draw();
      return;
    }
    rects_.clear();
    for (const PixelRect& r : rects) {
      rects_.push_back(SDL_Rect{r.x, r.y, r.w, r.h});
      SDL_Rect to = rects_.back();
      if (shadow_) SDL_BlitSurface(shadow_, &rects_.back(), surface_, &to);
    }
    SDL_UpdateWindowSurfaceRects(window_, rects_.data(), static_cast<int>(rects_.size()));
  }

  void Draw() {
    if (intermediate_) {
      SDL_SetRenderTarget(renderer_, intermediate_);
      SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
      SDL_SetRenderTarget(renderer_, nullptr);
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect to{fit_.x, fit_.y, fit_.w, fit_.h};
    SDL_RenderCopy(renderer_, intermediate_ ? intermediate_ : texture_, nullptr, &to);
    SDL_RenderPresent(renderer_);
  }

  // The window was uncovered, resized or lost its textures: the last picture again, whole.
  void ShowAgain() {
    if (shown_ && OutputReady()) Push(scaler_.Redraw());
  }

  std::string caption_, error_;
  SDL_Window* window_ = nullptr;
  SDL_Rect windowed_{};  // the window's size and place before full screen
  uint8_t colours_[kPaletteBytes] = {};
  bool shown_ = false;  // a picture has been presented
  PictureScaler scaler_;
  int outputWidth_ = 0, outputHeight_ = 0;
  // Window surface path.
  SDL_Surface* surface_ = nullptr;
  SDL_Surface* shadow_ = nullptr;  // 32-bit copy for displays of other formats
  void* outputPixels_ = nullptr;
  std::vector<SDL_Rect> rects_ = std::vector<SDL_Rect>(kScreenHeight + 1);
  // Renderer path.
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Texture* intermediate_ = nullptr;
  std::vector<uint32_t> picture_;
  PixelRect fit_;
  bool mixerOpen_ = false;
  Pad pads_[kPadSlots];
  bool pointerWarped_ = false;  // put somewhere by WarpPointer, not seen moving since
  SDL_Point warpedTo_{};        // there, in picture coordinates
};
}  // namespace

void SetSdlWindowOptions(const SdlWindowOptions& options) {
  windowOptions = options;
}

Backend& SdlBackend() {
  static Sdl backend;
  return backend;
}
