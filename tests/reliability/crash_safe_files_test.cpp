// Saves cut short at every byte leave the old file byte for byte; a
// completed save leaves the new one; single-record stores touch exactly one
// 77-byte record in place; unknown settings survive a save.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <stdexcept>

#include "base/atomic_file.h"
#include "base/base_file.h"
#include "base/base_record.h"
#include "base/ini_file.h"
#include "support/files.h"

namespace zel::testing {
namespace {

struct Crash : std::runtime_error {
  Crash() : std::runtime_error("power failed") {}
};

std::size_t FilesIn(const std::filesystem::path& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

ino_t Inode(const std::filesystem::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_ino;
}

// Writes the first `cut` bytes of `bytes`, then fails or dies.
std::function<bool(int)> CutBody(const std::string& bytes, std::size_t cut, bool crash) {
  return [&bytes, cut, crash](int fd) {
    if (!PWriteAll(fd, reinterpret_cast<const uint8_t*>(bytes.data()), cut, 0)) return false;
    if (crash) throw Crash();
    return false;
  };
}

TEST(CrashSafeFiles, SaveCutAtEveryByteLeavesTheOldFile) {
  TempDir dir;
  const auto path = dir.path() / "Base1.bsd";
  const std::string oldBytes(3 * kBaseRecordBytes, 'o');
  std::string newBytes(5 * kBaseRecordBytes, 'n');
  newBytes[100] = 'x';
  WriteBytes(path, oldBytes);
  int torn = 0;
  for (bool crash : {false, true}) {
    for (std::size_t cut = 0; cut <= newBytes.size(); ++cut) {
      std::string error;
      try {
        EXPECT_FALSE(ReplaceFileAtomically(path, 0644, CutBody(newBytes, cut, crash), error));
        EXPECT_EQ(FilesIn(dir.path()), 1u) << "a failed save leaves no temporary file";
      } catch (const Crash&) {
      }
      torn += ReadBytes(path) != oldBytes;
    }
  }
  std::printf("cut saves: %zu, files torn: %d\n", 2 * (newBytes.size() + 1), torn);
  EXPECT_EQ(torn, 0);
  std::string error;
  ASSERT_TRUE(ReplaceFileAtomically(
      path, 0644,
      [&](int fd) {
        return PWriteAll(fd, reinterpret_cast<const uint8_t*>(newBytes.data()), newBytes.size(), 0);
      },
      error))
      << error;
  EXPECT_EQ(ReadBytes(path), newBytes);
}

TEST(CrashSafeFiles, RangeStoreReplacesTheFileAndSingleRecordStoreWritesInPlace) {
  TempDir dir;
  BaseFolder folder(dir.path());
  std::string error;
  ASSERT_TRUE(folder.CreateBase("Base1.bsd", error)) << error;
  const auto path = folder.PathOf("Base1.bsd");
  ProductRecord r;
  r.name = "ХЛЕБ";
  r.price = "12.30";
  const ino_t created = Inode(path);
  const std::vector<ProductRecord> range(2, r);
  ASSERT_TRUE(folder.StoreRange("Base1.bsd", 4, range, error)) << error;
  EXPECT_NE(Inode(path), created) << "a whole-range store renames a new file over the old";

  const std::string before = ReadBytes(path);
  const ino_t stored = Inode(path);
  r.name = "МОЛОКО";
  ASSERT_TRUE(folder.StoreRecord("Base1.bsd", 7, r, error)) << error;
  const std::string after = ReadBytes(path);
  EXPECT_EQ(Inode(path), stored) << "a single record is written in place";
  ASSERT_EQ(after.size(), before.size());
  std::size_t first = after.size(), last = 0;
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    first = std::min(first, i);
    last = i;
  }
  ASSERT_LT(first, after.size());
  EXPECT_EQ(first / kBaseRecordBytes, last / kBaseRecordBytes) << "changes span one record";
  EXPECT_EQ(first / kBaseRecordBytes, 7u);
}

TEST(CrashSafeFiles, UnknownSettingsSurviveASave) {
  TempDir dir;
  const auto path = dir.path() / "ZELBase.ini";
  WriteBytes(path, "[Main]\r\nLeft=10\r\nFuture=keep me\r\n; a comment\r\n[Other]\r\nX=1\r\n");
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));
  ini.WriteString("Main", "Left", "20");
  std::string error;
  ASSERT_TRUE(ini.Save(path, error)) << error;
  EXPECT_EQ(ReadBytes(path),
            "[Main]\r\nLeft=20\r\nFuture=keep me\r\n; a comment\r\n[Other]\r\nX=1\r\n");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace zel::testing
