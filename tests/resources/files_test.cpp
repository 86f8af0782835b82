#include "files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "file_limit.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + i * 3);
  return v;
}

TEST(FilesTest, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
  ScratchDir dir;
  WriteFileBytes(dir.DataFile("x.cfg"), Bytes(50, 1));
  const std::vector<uint8_t> fresh = Bytes(380, 9);
  int error = -1;
  EXPECT_EQ(WriteFileAtomically("data/x.cfg", fresh.data(), fresh.size(), error),
            SaveResult::kSaved);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("x.cfg")), fresh);
  EXPECT_FALSE(fs::exists(dir.DataFile("x.cfg.tmp")));
  // Also a file that did not exist, and a temporary left over by an earlier crash.
  WriteFileBytes(dir.DataFile("new.hig.tmp"), Bytes(7, 0));
  EXPECT_EQ(WriteFileAtomically("data/new.hig", fresh.data(), 10, error), SaveResult::kSaved);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("new.hig")), Bytes(10, 9));
  EXPECT_FALSE(fs::exists(dir.DataFile("new.hig.tmp")));
}

TEST(FilesTest, AFileThatCannotBeCreatedChangesNothing) {
  ScratchDir dir;
  int error = 0;
  const std::vector<uint8_t> bytes = Bytes(10, 0);
  EXPECT_EQ(WriteFileAtomically("gone/x.cfg", bytes.data(), bytes.size(), error),
            SaveResult::kCannotCreate);
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(fs::exists(dir.path() / "gone"));
}

TEST(FilesTest, AFailedWriteKeepsTheOldFileWhole) {
  ScratchDir dir;
  const std::vector<uint8_t> old = Bytes(380, 5);
  WriteFileBytes(dir.DataFile("x.hig"), old);
  const std::vector<uint8_t> fresh = Bytes(380, 6);
  int error = 0;
  SaveResult result;
  {
    FileSizeLimit diskFull(100);
    result = WriteFileAtomically("data/x.hig", fresh.data(), fresh.size(), error);
  }
  EXPECT_EQ(result, SaveResult::kWriteFailed);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("x.hig")), old);
  EXPECT_FALSE(fs::exists(dir.DataFile("x.hig.tmp")));

  // A rename that fails (the target is a directory) also leaves no temporary behind.
  fs::create_directory(dir.DataFile("d.cfg"));
  EXPECT_EQ(WriteFileAtomically("data/d.cfg", fresh.data(), fresh.size(), error),
            SaveResult::kWriteFailed);
  EXPECT_FALSE(fs::exists(dir.DataFile("d.cfg.tmp")));
  EXPECT_TRUE(fs::is_directory(dir.DataFile("d.cfg")));
}

}  // namespace
