#include "base/base_history.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "base/base_record.h"
#include "base_test_support.h"

namespace zel {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;
namespace fs = std::filesystem;

// 2026-12-09 12:00:00 local time.
std::time_t Noon(int dayOffset = 0) {
  std::tm tm{};
  tm.tm_year = 126;
  tm.tm_mon = 11;
  tm.tm_mday = 9 + dayOffset;
  tm.tm_hour = 12;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

std::string Record(const std::string& name) {
  ProductRecord r = NewFileRecord();
  r.name = name;
  const BaseRecordBytes b = EncodeBaseRecord(r);
  return std::string(b.begin(), b.end());
}

class BaseHistoryTest : public ::testing::Test {
 protected:
  fs::path Base(int n = 3) const { return folder.PathOf(BaseFileName(n)); }
  std::vector<std::string> Names(int channel = 3) const {
    std::vector<std::string> names;
    for (const BaseCopy& c : ListBaseCopies(folder, channel, false))
      names.push_back(c.path.filename().string());
    return names;
  }

  testing::TempDir dir;
  BaseFolder folder{dir.path()};
  std::string error;
};

TEST_F(BaseHistoryTest, KeepsTheFileAsItWasOncePerCall) {
  const std::string before = Record("Хлеб") + Record("Молоко");
  WriteBytes(Base(), before);
  ASSERT_TRUE(KeepBaseCopy(folder, "Base3.bsd", kCopyRead, Noon(), error)) << error;
  ASSERT_TRUE(KeepBaseCopy(folder, "Base3.bsd", kCopyRead, Noon(), error)) << error;
  EXPECT_EQ(Names(), (std::vector<std::string>{"Base3-2026-12-09T12-00-00-read~2.bsd",
                                               "Base3-2026-12-09T12-00-00-read.bsd"}));
  const std::vector<BaseCopy> copies = ListBaseCopies(folder, 3);
  EXPECT_EQ(ReadBytes(copies[1].path), before);
  EXPECT_TRUE(copies[1].Usable());
  EXPECT_EQ(copies[1].operation, "read");
  EXPECT_EQ(copies[1].ShownTime(), "09.12.2026 12:00:00");
  EXPECT_TRUE(ListBaseCopies(folder, 4).empty()) << "another channel's copies are not listed";
  ASSERT_TRUE(KeepBaseCopy(folder, "Base5.bsd", kCopyRead, Noon(), error));
  EXPECT_TRUE(Names(5).empty()) << "a missing base file has nothing to keep";
}

TEST_F(BaseHistoryTest, RotationKeepsTheNewestAndTheFirstOfEachOfTheLastDays) {
  WriteBytes(Base(), Record("x"));
  WriteBytes(HistoryDir(folder) / "notes.txt", "foreign");
  // Ten copies a day over ten days: the newest 30 are the last three days.
  for (int day = -9; day <= 0; ++day) {
    for (int k = 0; k < 10; ++k) {
      ASSERT_TRUE(KeepBaseCopy(folder, "Base3.bsd", kCopyImport, Noon(day) + k * 60, error));
    }
  }
  const std::vector<std::string> names = Names();
  ASSERT_EQ(names.size(), 30u + 4u) << "30 newest and the first of 4 more of the last 7 days";
  EXPECT_EQ(names.front(), "Base3-2026-12-09T12-09-00-import.bsd");
  EXPECT_EQ(names.back(), "Base3-2026-12-03T12-00-00-import.bsd");
  EXPECT_EQ(names[30], "Base3-2026-12-06T12-00-00-import.bsd");
  EXPECT_TRUE(fs::exists(HistoryDir(folder) / "notes.txt")) << "foreign names are never removed";
}

TEST_F(BaseHistoryTest, DamagedOrForeignFilesAreUnusableAndNeverRestored) {
  const std::string current = Record("Текущий");
  WriteBytes(Base(), current);
  std::string badLength = Record("a");
  badLength[0] = 35;  // longer than the name field
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"Base3-2026-12-09T10-00-00-read.bsd", Record("a").substr(0, 76)},
      {"Base3-2026-12-09T10-00-01-read.bsd", badLength},
      {"Base3-2026-12-09T10-00-02-read.bsd", ""},
      {"Base3-copy.bsd", Record("a")},
  };
  for (const auto& f : files) WriteBytes(HistoryDir(folder) / f.name, f.bytes);
  // A copy whose store was cut by a kill: not listed, removed once an hour old.
  const fs::path cut = HistoryDir(folder) / "Base3-2026-12-09T10-00-03-read.bsd.Ab12Cd";
  WriteBytes(cut, Record("a"));
  const std::vector<BaseCopy> copies = ListBaseCopies(folder, 3);
  ASSERT_EQ(copies.size(), 4u);
  for (const BaseCopy& c : copies) {
    SCOPED_TRACE(c.path.filename().string());
    EXPECT_FALSE(c.Usable());
    EXPECT_FALSE(RestoreBaseFile(folder, c, "Base3.bsd", Noon(), error));
    EXPECT_EQ(ReadBytes(Base()), current);
  }
  EXPECT_EQ(Names().size(), 3u) << "no copy of the current file was kept for a refused restore";
  fs::last_write_time(cut, fs::file_time_type::clock::now() - std::chrono::hours(2));
  PruneBaseCopies(folder, 3, Noon());
  EXPECT_FALSE(fs::exists(cut));
  EXPECT_EQ(ListBaseCopies(folder, 3).size(), 4u) << "damaged and foreign files stay";
}

TEST_F(BaseHistoryTest, RestoreBringsBackTheExactBytesAndKeepsTheCurrentFile) {
  const std::string old = Record("Старый") + Record("Второй");
  WriteBytes(Base(), old);
  ASSERT_TRUE(KeepBaseCopy(folder, "Base3.bsd", kCopyClear, Noon(-1), error));
  const std::string now = Record("Новый");
  WriteBytes(Base(), now);
  const BaseCopy copy = FindBaseCopy(folder, 3, "Base3-2026-12-08T12-00-00-clear.bsd");
  ASSERT_TRUE(copy.Usable());
  EXPECT_EQ(CountChangedProducts(copy.path, Base()), 2) << "one renamed, one missing";
  std::vector<ProductChange> diff = DiffBaseFiles(copy.path, Base(), error);
  ASSERT_EQ(diff.size(), 2u);
  EXPECT_EQ(diff[0].number, 1);
  EXPECT_EQ(diff[0].field, "Наименование");
  EXPECT_EQ(diff[0].before, "Старый");
  EXPECT_EQ(diff[0].after, "Новый");
  EXPECT_EQ(diff[1].number, 2);
  EXPECT_EQ(diff[1].after, "");
  ASSERT_TRUE(RestoreBaseFile(folder, copy, "Base3.bsd", Noon(), error)) << error;
  EXPECT_EQ(ReadBytes(Base()), old);
  EXPECT_EQ(ReadBytes(HistoryDir(folder) / "Base3-2026-12-09T12-00-00-restore.bsd"), now);
}

TEST_F(BaseHistoryTest, AFailedCopyLeavesTheBaseFileUntouched) {
  const std::string current = Record("Цел");
  WriteBytes(Base(), current);
  WriteBytes(HistoryDir(folder), "a file where the folder should be");
  EXPECT_FALSE(KeepBaseCopy(folder, "Base3.bsd", kCopyRead, Noon(), error));
  EXPECT_NE(error.find("Не удалось сохранить копию базы"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(Base()), current);
}

}  // namespace
}  // namespace zel
