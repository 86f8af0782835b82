// Shared helpers for the tests: the standard headers they all use, a scratch working directory,
// the generated data set, fatal errors, the sounds and frames a headless run leaves.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "display.h"
#include "fatal.h"
#include "headless.h"

namespace fs = std::filesystem;

// A fresh temporary directory made the working directory for the test's lifetime. With
// copyData, the generated data set is copied into its data/ first (the tests then never touch
// the game's own files).
class ScratchDir {
 public:
  explicit ScratchDir(bool copyData = false);
  ~ScratchDir();
  const fs::path& path() const { return dir_; }
  fs::path DataFile(const std::string& name) const { return dir_ / "data" / name; }

 private:
  fs::path dir_;
  fs::path previous_;
};

// True when the build generated the data set (the tests that need it skip otherwise).
bool GeneratedDataAvailable();

std::vector<uint8_t> ReadFileBytes(const fs::path& file);
void WriteFileBytes(const fs::path& file, const std::vector<uint8_t>& bytes);

// The sounds a backend played: number, mixer volume, mixer channel.
using SoundLog = std::vector<std::tuple<int, int, int>>;
SoundLog SoundsPlayed(const HeadlessBackend& backend);

// Whether every pixel that draw(target) sets on a black screen shows with the same value in
// frame, and draw sets any.
template <typename Draw>
::testing::AssertionResult Shows(const uint8_t* frame, Draw draw) {
  std::vector<uint8_t> alone(kScreenBytes, 0);
  draw(alone.data());
  if (std::all_of(alone.begin(), alone.end(), [](uint8_t v) { return v == 0; }))
    return ::testing::AssertionFailure() << "nothing of it on screen";
  for (int i = 0; i < kScreenBytes; ++i)
    if (alone[i] && frame[i] != alone[i])
      return ::testing::AssertionFailure()
             << "differs at (" << i % kScreenWidth << ", " << i / kScreenWidth << ")";
  return ::testing::AssertionSuccess();
}

// Runs f and expects a fatal error whose message contains every given fragment.
template <typename F>
void ExpectFatal(F f, std::initializer_list<const char*> fragments) {
  ThrowInsteadOfExiting(true);
  try {
    f();
    ADD_FAILURE() << "expected a fatal error";
  } catch (const FatalErrorException& e) {
    const std::string message = e.what();
    for (const char* fragment : fragments)
      EXPECT_NE(message.find(fragment), std::string::npos)
          << "message \"" << message << "\" lacks \"" << fragment << "\"";
  }
}
