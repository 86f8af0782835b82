#include "test_support.h"

#include <unistd.h>

#include <fstream>
#include <random>

ScratchDir::ScratchDir(bool copyData) {
  previous_ = fs::current_path();
  std::random_device rd;
  dir_ = fs::temp_directory_path() /
         ("plonkix-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
  fs::create_directories(dir_ / "data");
  if (copyData && GeneratedDataAvailable())
    fs::copy(PLONKIX_DATA_DIR, dir_ / "data",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::current_path(dir_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(dir_, ec);
}

bool GeneratedDataAvailable() {
  return fs::exists(fs::path(PLONKIX_DATA_DIR) / "plonkix.p23");
}

std::vector<uint8_t> ReadFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

SoundLog SoundsPlayed(const HeadlessBackend& backend) {
  SoundLog log;
  for (const auto& s : backend.sounds) log.emplace_back(s.number, s.mixerVolume, s.mixerChannel);
  return log;
}
