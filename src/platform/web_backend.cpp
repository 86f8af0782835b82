#include "web_backend.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

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
void plonkix_web_read_pads(int32_t* readings);
void plonkix_web_read_pointer(int32_t* reading);
void plonkix_web_warp_pointer(int x, int y);
void plonkix_web_capture_pointer(int captured);
int plonkix_web_keep_file(const char* name, const uint8_t* data, int size, const char* prunePrefix,
                          int most);
int plonkix_web_kept_file(const char* name, uint8_t* data, int capacity);
int plonkix_web_load_kept(const char* prefix);
int plonkix_web_loaded_size(int index);
int plonkix_web_loaded_copy(int index, char* name, int nameCapacity, uint8_t* data, int capacity);
void plonkix_web_drop_loaded();
}

// web_backend.js reports a pad's buttons with these bits.
static_assert(kPadA == 1 && kPadB == 2 && kPadStart == 4 && kPadUp == 8 && kPadDown == 16 &&
              kPadLeft == 32 && kPadRight == 64);

struct SoundData {
  int id;  // the page's number for the decoded sound
};

namespace {
// Larger than any file the game saves (a replay of hours of play stays below 4 MiB).
constexpr size_t kMaxKeptFileBytes = 8u << 20;
constexpr size_t kMaxKeptNameBytes = 64;
constexpr int kPadValues = 4;  // per pad from web_backend.js: connected, stick x, stick y, buttons
constexpr int kMaxKeptDirectories = 2;  // the replays, and room for one more
// A loop that never sleeps would keep the page from drawing and from taking key events:
// after this long without a pause the event pump gives the page a turn.
constexpr double kMaxBusyMs = 50;

// Event types as web_backend.js queues them.
enum PageEvent : int { kPageKeyDown = 0, kPageKeyUp = 1 };

constexpr char kDataPrefix[] = "data/";

// The key a file is kept under: its path inside data/ ("plonkix.cfg", "replays/NAME").
std::string StorageKey(const char* path) {
  const size_t prefix = sizeof kDataPrefix - 1;
  if (strncmp(path, kDataPrefix, prefix) == 0) return path + prefix;
  const char* slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

struct KeptDirectory {
  std::string path;  // "data/replays"
  int most = 0;
};
KeptDirectory keptDirectories[kMaxKeptDirectories];
int keptDirectoryCount = 0;

// The kept directory a file lies in directly, or nullptr.
const KeptDirectory* DirectoryOf(const char* path) {
  for (int i = 0; i < keptDirectoryCount; ++i) {
    const std::string& dir = keptDirectories[i].path;
    if (strncmp(path, dir.c_str(), dir.size()) == 0 && path[dir.size()] == '/' &&
        !strchr(path + dir.size() + 1, '/'))
      return &keptDirectories[i];
  }
  return nullptr;
}

// A stored name that stays inside its directory: letters, digits, '-', '_' and '.', not first.
bool PlainName(const std::string& name) {
  if (name.empty() || name.size() > kMaxKeptNameBytes || name[0] == '.') return false;
  for (const char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
          c == '_' || c == '.'))
      return false;
  return true;
}

// The whole file, or false when it cannot be read or is larger than anything the game saves.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
  struct stat info {};
  if (stat(path, &info) != 0 || info.st_size < 0 ||
      static_cast<size_t>(info.st_size) > kMaxKeptFileBytes)
    return false;
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  bytes.resize(static_cast<size_t>(info.st_size));
  const size_t got = fread(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  return got == bytes.size();
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
    ReadPads();
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

  PadReading ReadPad(int slot) override {
    return slot >= 0 && slot < kPadSlots ? pads_[slot] : PadReading{};
  }
  // Every page gets mouse events (a touch screen sends them too).
  bool HasMouse() override { return true; }
  PointerReading ReadPointer() override {
    int32_t reading[3] = {};
    plonkix_web_read_pointer(reading);
    return PointerReading{reading[0], reading[1], reading[2] != 0};
  }
  void WarpPointer(int32_t x, int32_t y) override { plonkix_web_warp_pointer(x, y); }
  void CapturePointer(bool captured) override { plonkix_web_capture_pointer(captured ? 1 : 0); }

  // The saved file is in the page's memory only: keep a copy in the browser's storage (for a file
  // of a kept directory, pruned there as the game prunes the directory). A store that fails
  // leaves the game running on what it has in memory.
  void FileSaved(const char* path) override {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
      fprintf(stderr, "plonkix: %s cannot be read back; it is kept for this visit only\n", path);
      return;
    }
    const KeptDirectory* dir = DirectoryOf(path);
    const std::string prefix = dir ? StorageKey(dir->path.c_str()) + "/" : std::string();
    const bool kept =
        plonkix_web_keep_file(StorageKey(path).c_str(), bytes.data(),
                              static_cast<int>(bytes.size()), prefix.c_str(), dir ? dir->most : 0);
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
  // The pads as of this pump, so that every reading until the next one agrees.
  void ReadPads() {
    int32_t values[kPadSlots * kPadValues] = {};
    plonkix_web_read_pads(values);
    for (int slot = 0; slot < kPadSlots; ++slot) {
      const int32_t* v = values + slot * kPadValues;
      pads_[slot] = PadReading{v[0] != 0, v[1], v[2], static_cast<uint16_t>(v[3])};
    }
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
  PadReading pads_[kPadSlots];
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
    const int size = plonkix_web_kept_file(StorageKey(files[i].path).c_str(), bytes.get(),
                                           static_cast<int>(expected));
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

void KeepDirectory(const char* path, int most, KeptFileCheck check) {
  if (keptDirectoryCount == kMaxKeptDirectories || most <= 0) return;
  keptDirectories[keptDirectoryCount++] = KeptDirectory{path, most};
  const std::string prefix = StorageKey(path) + "/";
  const int count = plonkix_web_load_kept(prefix.c_str());
  if (count <= 0) return;  // nothing kept, or no storage: the directory starts empty
  mkdir(path, 0777);
  int refused = 0;
  std::string firstRefused;
  std::vector<uint8_t> bytes;
  for (int i = count > most ? count - most : 0; i < count; ++i) {
    char buffer[kMaxKeptNameBytes + 2] = {};
    const int size = plonkix_web_loaded_size(i);
    const bool stored = size >= 0 && static_cast<size_t>(size) <= kMaxKeptFileBytes;
    bytes.resize(stored ? static_cast<size_t>(size) : 0);
    // The name as the storage holds it, cut to the buffer: a zero byte or a cut name is not plain.
    const int length = plonkix_web_loaded_copy(i, buffer, sizeof buffer, bytes.data(),
                                               static_cast<int>(bytes.size()));
    const std::string name(buffer, std::min<size_t>(length > 0 ? length : 0, sizeof buffer - 1));
    std::string why = "not a stored file";
    bool good = stored;
    if (good && !PlainName(name)) {
      why = "not a plain file name";
      good = false;
    }
    good = good && check(name, bytes.data(), bytes.size(), why);
    const std::string file = std::string(path) + "/" + name;
    if (good) {
      FILE* f = fopen(file.c_str(), "wb");
      const bool written = f && fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
      if ((f && fclose(f) != 0) || !written) {
        remove(file.c_str());
        why = "it could not be written back";
        good = false;
      }
    }
    if (!good && refused++ == 0) firstRefused = name + ": " + why;
  }
  plonkix_web_drop_loaded();
  if (refused > 0)
    fprintf(stderr, "plonkix: %d stored file(s) of %s left out (%s)\n", refused, path,
            firstRefused.c_str());
}

// The ticks the pump has run since the start, for measuring the game's pace in a browser.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t plonkix_web_ticks() {
  return TicksCounted;
}
