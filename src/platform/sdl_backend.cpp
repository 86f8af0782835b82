#include "sdl_backend.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdlib>
#include <cstring>

#include "display.h"
#include "keysyms.h"

// Our key constants must be SDL's own values.
static_assert(keysym::kReturn == SDLK_RETURN && keysym::kEscape == SDLK_ESCAPE);
static_assert(keysym::kSpace == SDLK_SPACE && keysym::kA == SDLK_a && keysym::kZ == SDLK_z);
static_assert(keysym::k0 == SDLK_0 && keysym::k9 == SDLK_9 && keysym::kDelete == SDLK_DELETE);
static_assert(keysym::kWorld0 == SDLK_WORLD_0 && keysym::kWorld95 == SDLK_WORLD_95);
static_assert(keysym::kKp0 == SDLK_KP0 && keysym::kKpEquals == SDLK_KP_EQUALS);
static_assert(keysym::kUp == SDLK_UP && keysym::kDown == SDLK_DOWN && keysym::kLeft == SDLK_LEFT &&
              keysym::kRight == SDLK_RIGHT && keysym::kPageDown == SDLK_PAGEDOWN);
static_assert(keysym::kF1 == SDLK_F1 && keysym::kF4 == SDLK_F4 && keysym::kF15 == SDLK_F15);
static_assert(keysym::kNumLock == SDLK_NUMLOCK && keysym::kLShift == SDLK_LSHIFT &&
              keysym::kLAlt == SDLK_LALT && keysym::kUndo == SDLK_UNDO &&
              keysym::kCount == SDLK_LAST);
static_assert(keymod::kLAlt == KMOD_LALT && keymod::kRAlt == KMOD_RALT &&
              keymod::kLCtrl == KMOD_LCTRL && keymod::kRCtrl == KMOD_RCTRL &&
              keymod::kLShift == KMOD_LSHIFT && keymod::kMode == KMOD_MODE);

namespace {
class Sdl final : public Backend {
 public:
  bool InitVideo() override {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    atexit(SDL_Quit);
    return true;
  }
  void SetCaption(const char* caption) override { SDL_WM_SetCaption(caption, nullptr); }
  bool SetVideoMode(bool fullscreen) override {
    const Uint32 flags = SDL_HWPALETTE | (fullscreen ? SDL_FULLSCREEN : 0);
    surface_ = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 8, flags);
    return surface_ != nullptr;
  }
  void ShowCursor(bool show) override { SDL_ShowCursor(show ? 1 : 0); }
  void SetColours(const uint8_t* rgb) override {
    if (!surface_) return;
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
      colours[i].r = rgb[3 * i];
      colours[i].g = rgb[3 * i + 1];
      colours[i].b = rgb[3 * i + 2];
      colours[i].unused = 0;
    }
    SDL_SetPalette(surface_, SDL_LOGPAL | SDL_PHYSPAL, colours, 0, 256);
  }
  void GetColours(uint8_t* rgb) override {
    memset(rgb, 0, kPaletteBytes);
    if (!surface_ || !surface_->format->palette) return;
    const SDL_Palette* palette = surface_->format->palette;
    for (int i = 0; i < palette->ncolors && i < 256; ++i) {
      rgb[3 * i] = palette->colors[i].r;
      rgb[3 * i + 1] = palette->colors[i].g;
      rgb[3 * i + 2] = palette->colors[i].b;
    }
  }
  void Present(const uint8_t* pixels) override {
    if (!surface_) return;
    const bool lock = SDL_MUSTLOCK(surface_);
    if (lock)
      while (SDL_LockSurface(surface_) != 0) SDL_Delay(10);
    auto* dst = static_cast<uint8_t*>(surface_->pixels);
    if (surface_->pitch == kScreenWidth) {
      memcpy(dst, pixels, kScreenBytes);
    } else {  // honour a padded row pitch
      for (int y = 0; y < kScreenHeight; ++y)
        memcpy(dst + y * surface_->pitch, pixels + y * kScreenWidth, kScreenWidth);
    }
    if (lock) SDL_UnlockSurface(surface_);
    SDL_Flip(surface_);
  }
  bool PollEvent(InputEvent& event) override {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    switch (e.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        event.type = e.type == SDL_KEYDOWN ? EventType::kKeyDown : EventType::kKeyUp;
        event.sym = static_cast<uint16_t>(e.key.keysym.sym);
        event.mod = static_cast<uint16_t>(e.key.keysym.mod);
        break;
      case SDL_QUIT:
        event.type = EventType::kQuit;
        break;
      default:
        event.type = EventType::kOther;
    }
    return true;
  }
  uint32_t GetTicks() override { return SDL_GetTicks(); }
  void Delay(uint32_t ms) override { SDL_Delay(ms); }
  bool OpenAudio() override {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 1, 2048) != 0) return false;
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

 private:
  SDL_Surface* surface_ = nullptr;
  bool mixerOpen_ = false;
};
}  // namespace

Backend& SdlBackend() {
  static Sdl backend;
  return backend;
}
