#include "web_backend.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>

#include "display.h"
#include "keymap.h"
#include "keysyms.h"
#include "ticks.h"

// The page side, in web_backend.js.
extern "C" {
void plonkix_web_open_canvas(int fullscreen);
void plonkix_web_set_caption(const char* caption);
void plonkix_web_show_cursor(int show);
void plonkix_web_paint(const uint32_t* rgba);
int plonkix_web_next_event(int* type, int* key, int* mod);
int plonkix_web_left_fullscreen();
int plonkix_web_open_audio();
int plonkix_web_allocate_channels(int count);
int plonkix_web_load_sound(const char* file);
void plonkix_web_play_sound(int sound, int volume, int channel);
int plonkix_web_audio_running();
void plonkix_web_close_audio();
int plonkix_web_keep_file(const char* name, const uint8_t* data, int size);
int plonkix_web_kept_file(const char* name, uint8_t* data, int capacity);
}

struct SoundData {
  int id;  // the page's number for the decoded sound
};

namespace {
constexpr size_t kMaxKeptFileBytes = 64 * 1024;
// A loop that never sleeps would keep the page from drawing and from taking key events:
// after this long without a pause the event pump gives the page a turn.
constexpr double kMaxBusyMs = 50;

// Event types as web_backend.js queues them.
enum PageEvent : int { kPageKeyDown = 0, kPageKeyUp = 1 };

// The part of a path after its last slash: the key a file is kept under.
const char* BaseName(const char* path) {
  const char* slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

class Web final : public Backend {
 public:
  bool InitVideo() override {
    start_ = emscripten_get_now();
    lastPause_ = start_;
    return true;
  }
  void SetCaption(const char* caption) override { plonkix_web_set_caption(caption); }
  bool SetVideoMode(bool fullscreen) override {
    plonkix_web_open_canvas(fullscreen ? 1 : 0);
    screenOpen_ = true;
    dirty_ = true;
    return true;
  }
  void ShowCursor(bool show) override { plonkix_web_show_cursor(show ? 1 : 0); }
  void SetColours(const uint8_t* rgb) override {
    memcpy(colours_, rgb, kPaletteBytes);
    for (int i = 0; i < 256; ++i)
      rgbaOf_[i] = 0xFF000000u | (uint32_t{rgb[3 * i + 2]} << 16) |
                   (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i];
    dirty_ = true;
  }
  void GetColours(uint8_t* rgb) override { memcpy(rgb, colours_, kPaletteBytes); }
  void Present(const uint8_t* pixels) override {
    memcpy(pixels_, pixels, kScreenBytes);
    dirty_ = true;
  }

  bool PollEvent(InputEvent& event) override {
    Paint();
    FollowBrowserFullscreen();
    int type = 0, key = 0, mod = 0;
    while (plonkix_web_next_event(&type, &key, &mod)) {
      // The page gives SDL 2 key codes; the pump and the ScanMap take SDL 1.2 symbols.
      const uint16_t sym = KeySymbolOf(static_cast<uint32_t>(key));
      if (sym == 0 || sym >= keysym::kCount) continue;  // no SDL 1.2 symbol: the game never sees it
      event.type = type == kPageKeyDown ? EventType::kKeyDown : EventType::kKeyUp;
      event.sym = sym;
      event.mod = static_cast<uint16_t>(mod);
      return true;
    }
    if (emscripten_get_now() - lastPause_ > kMaxBusyMs) Pause(0);
    return false;
  }
  uint32_t GetTicks() override { return static_cast<uint32_t>(emscripten_get_now() - start_); }
  void Delay(uint32_t ms) override {
    Paint();
    Pause(ms);
  }

  bool OpenAudio() override { return plonkix_web_open_audio() != 0; }
  int AllocateChannels(int count) override { return plonkix_web_allocate_channels(count); }
  SoundHandle LoadSound(const char* file) override {
    const int id = plonkix_web_load_sound(file);
    if (id < 0) return nullptr;
    sounds_.push_back(std::make_unique<SoundData>(SoundData{id}));
    return sounds_.back().get();
  }
  void PlaySound(SoundHandle sound, int mixerVolume, int mixerChannel) override {
    plonkix_web_play_sound(sound->id, mixerVolume, mixerChannel);
  }
  bool AudioRunning() override { return plonkix_web_audio_running() != 0; }
  void CloseAudio() override { plonkix_web_close_audio(); }

  // The saved file is in the page's memory only: keep a copy in the browser's storage. A store
  // that fails leaves the game running on what it has in memory.
  void FileSaved(const char* path) override {
    FILE* f = fopen(path, "rb");
    if (!f) return;
    auto bytes = std::make_unique<uint8_t[]>(kMaxKeptFileBytes);
    const size_t size = fread(bytes.get(), 1, kMaxKeptFileBytes, f);
    fclose(f);
    const bool kept = plonkix_web_keep_file(BaseName(path), bytes.get(), static_cast<int>(size));
    lastPause_ = emscripten_get_now();
    if (!kept)
      fprintf(stderr, "plonkix: the browser's storage refused %s; it is kept for this visit only\n",
              path);
  }

 private:
  // Shows the last presented picture in the current colours, once per change.
  void Paint() {
    if (!dirty_ || !screenOpen_) return;
    for (int i = 0; i < kScreenBytes; ++i) rgba_[i] = rgbaOf_[pixels_[i]];
    plonkix_web_paint(rgba_);
    dirty_ = false;
  }
  void Pause(uint32_t ms) {
    emscripten_sleep(ms);
    lastPause_ = emscripten_get_now();
  }
  // The browser leaves full screen on its own (Escape, a refused request): the game follows,
  // so the next Alt+Enter enters full screen again.
  void FollowBrowserFullscreen() {
    if (!plonkix_web_left_fullscreen() || !Fullscreen) return;
    Fullscreen = 0;
    plonkix_web_show_cursor(1);
  }

  double start_ = 0;
  double lastPause_ = 0;
  bool screenOpen_ = false;
  bool dirty_ = false;
  uint8_t colours_[kPaletteBytes] = {};
  uint32_t rgbaOf_[256] = {};
  uint8_t pixels_[kScreenBytes] = {};
  uint32_t rgba_[kScreenBytes] = {};
  std::deque<std::unique_ptr<SoundData>> sounds_;
};
}  // namespace

Backend& WebBackend() {
  static Web backend;
  return backend;
}

void RestoreKeptFiles(const KeptFile* files, int count) {
  for (int i = 0; i < count; ++i) {
    const size_t expected = files[i].bytes;
    auto bytes = std::make_unique<uint8_t[]>(expected);
    const int size =
        plonkix_web_kept_file(BaseName(files[i].path), bytes.get(), static_cast<int>(expected));
    if (size < 0) continue;  // nothing kept yet: the packed file stays
    if (static_cast<size_t>(size) != expected) {
      fprintf(stderr,
              "plonkix: the stored %s holds %d bytes instead of %zu; the packed file is used\n",
              files[i].path, size, expected);
    } else if (FILE* f = fopen(files[i].path, "wb")) {
      fwrite(bytes.get(), 1, expected, f);
      fclose(f);
    }
  }
}

// The ticks the pump has run since the start, for measuring the game's pace in a browser.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t plonkix_web_ticks() {
  return TicksCounted;
}
