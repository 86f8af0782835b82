#include "files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "file_limit.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(seed + i * 3);
  return v;
}

TEST(FilesTest, AtomicWriteGivesTheNewFileOrLeavesTheOldOneWhole) {
  ScratchDir dir;
  const std::vector<uint8_t> old = Bytes(380, 5), fresh = Bytes(380, 6);
  WriteFileBytes(dir.DataFile("x.hig"), old);
  WriteFileBytes(dir.DataFile("x.hig.tmp"), Bytes(7, 0));  // left by an earlier crash
  int error = 0;
  {
    FileSizeLimit diskFull(100);
    EXPECT_EQ(WriteFileAtomically("data/x.hig", fresh.data(), fresh.size(), error),
              SaveResult::kWriteFailed);
  }
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("x.hig")), old);
  EXPECT_FALSE(fs::exists(dir.DataFile("x.hig.tmp")));

  WriteFileAtomically("data/x.hig", fresh.data(), fresh.size(), error);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("x.hig")), fresh);

  // A rename that fails (the target is a directory) leaves no temporary either.
  fs::create_directory(dir.DataFile("d.cfg"));
  EXPECT_EQ(WriteFileAtomically("data/d.cfg", fresh.data(), fresh.size(), error),
            SaveResult::kWriteFailed);
  EXPECT_FALSE(fs::exists(dir.DataFile("d.cfg.tmp")));
  // A file that cannot be created changes nothing.
  EXPECT_EQ(WriteFileAtomically("gone/x.cfg", fresh.data(), 10, error), SaveResult::kCannotCreate);
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(fs::exists(dir.path() / "gone"));
}

}  // namespace
