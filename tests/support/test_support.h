// Shared helpers for the tests: a scratch working directory, the generated data set, fatal errors.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fatal.h"
#include "headless.h"

// A fresh temporary directory made the working directory for the test's lifetime. With
// copyData, the generated data set is copied into its data/ first (the tests then never touch
// the game's own files).
class ScratchDir {
 public:
  explicit ScratchDir(bool copyData = false);
  ~ScratchDir();
  const std::filesystem::path& path() const { return dir_; }
  std::filesystem::path DataFile(const std::string& name) const { return dir_ / "data" / name; }

 private:
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

// True when the build generated the data set (the tests that need it skip otherwise).
bool GeneratedDataAvailable();

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

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
