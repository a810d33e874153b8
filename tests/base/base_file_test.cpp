#include "base/base_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "base/base_record.h"
#include "base_test_support.h"
#include "support/hex.h"

namespace zel {
namespace {

using testing::Hex;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr std::size_t kRec = 77;

class BaseFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Path(const char* name = "Base1.bsd") const {
    return dir.path() / "Base" / name;
  }
  // A file of `records` distinct records (product k named "P<k>").
  std::string Distinct(int records) const {
    std::string bytes;
    for (int k = 0; k < records; ++k) {
      ProductRecord r = NewFileRecord();
      r.name = "P" + std::to_string(k + 1);
      const BaseRecordBytes b = EncodeBaseRecord(r);
      bytes.append(b.begin(), b.end());
    }
    return bytes;
  }

  testing::TempDir dir;
  BaseFolder folder{dir.path()};
  std::string error;
};

TEST_F(BaseFileTest, NamesFollowTheChannel) {
  EXPECT_EQ(BaseFileName(1), "Base1.bsd");
  EXPECT_EQ(BaseFileName(16), "Base16.bsd");
  EXPECT_EQ(folder.PathOf("Base3.bsd"), dir.path() / "Base" / "Base3.bsd");
}

TEST_F(BaseFileTest, CreateBaseWrites12288NewRecordsAndTheFolder) {
  ASSERT_TRUE(folder.CreateBase("Base1.bsd", error)) << error;
  const std::string bytes = ReadBytes(Path());
  ASSERT_EQ(bytes.size(), 12288u * 77u);
  const std::string expected = testing::NewRecordBytes();
  for (std::size_t i : {0u, 1u, 4095u, 12287u}) {
    EXPECT_EQ(bytes.substr(i * kRec, kRec), expected) << "record " << i;
  }
}

TEST_F(BaseFileTest, CreateBaseReplacesAnOldFile) {
  WriteBytes(Path(), Distinct(3));
  ASSERT_TRUE(folder.CreateBase("Base1.bsd", error));
  EXPECT_EQ(ReadBytes(Path()).substr(0, kRec), testing::NewRecordBytes());
}

TEST_F(BaseFileTest, ReadOfMissingFileFails) {
  std::vector<ProductRecord> out;
  EXPECT_FALSE(folder.ReadRecords("Base2.bsd", 0, 4, out, error));
  EXPECT_NE(error.find("Base2.bsd"), std::string::npos);
}

TEST_F(BaseFileTest, TruncatedFileReadsMissingRecordsAsNewAndStaysAsItWas) {
  const std::string bytes = Distinct(2) + Hex("05 41 42");  // a torn third record
  WriteBytes(Path(), bytes);
  std::vector<ProductRecord> out;
  ASSERT_TRUE(folder.ReadRecords("Base1.bsd", 0, 5, out, error));
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[0].name, "P1");
  EXPECT_EQ(out[1].name, "P2");
  for (int i = 2; i < 5; ++i) EXPECT_EQ(out[i], NewFileRecord()) << i;
  EXPECT_EQ(ReadBytes(Path()), bytes);
}

TEST_F(BaseFileTest, StoreRecordWritesThatRecordOnly) {
  ASSERT_TRUE(folder.CreateBase("Base1.bsd", error));
  const std::string before = ReadBytes(Path());
  ProductRecord r = NewFileRecord();
  r.name = "Чай";
  ASSERT_TRUE(folder.StoreRecord("Base1.bsd", 4096, r, error)) << error;
  const std::string after = ReadBytes(Path());
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 4096 * kRec), before.substr(0, 4096 * kRec));
  EXPECT_EQ(after.substr(4096 * kRec, 4), Hex("03 D7 E0 E9"));
  EXPECT_EQ(after.substr(4097 * kRec), before.substr(4097 * kRec));
}

TEST_F(BaseFileTest, StoreRecordPastTheEndFillsTheGapWithNewRecords) {
  WriteBytes(Path(), Distinct(2) + "xy");
  ProductRecord r = NewFileRecord();
  r.name = "Z";
  ASSERT_TRUE(folder.StoreRecord("Base1.bsd", 5, r, error));
  const std::string after = ReadBytes(Path());
  ASSERT_EQ(after.size(), 6 * kRec);
  EXPECT_EQ(after.substr(0, 2 * kRec), Distinct(2));
  for (int i = 2; i < 5; ++i) EXPECT_EQ(after.substr(i * kRec, kRec), testing::NewRecordBytes());
  EXPECT_EQ(after.substr(5 * kRec, 2), Hex("01 5A"));
}

TEST_F(BaseFileTest, StoreRecordNeedsTheFile) {
  EXPECT_FALSE(folder.StoreRecord("Base1.bsd", 0, NewFileRecord(), error));
  EXPECT_FALSE(std::filesystem::exists(Path()));
}

TEST_F(BaseFileTest, StoreRangeRewritesThoseRecordsOnly) {
  WriteBytes(Path(), Distinct(30));
  std::vector<ProductRecord> records(10, ClearedRecord());
  ASSERT_TRUE(folder.StoreRange("Base1.bsd", 10, records, error)) << error;
  const std::string before = Distinct(30);
  const std::string after = ReadBytes(Path());
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 10 * kRec), before.substr(0, 10 * kRec));
  for (int i = 10; i < 20; ++i)
    EXPECT_EQ(after.substr(i * kRec, kRec), testing::ClearedRecordBytes());
  EXPECT_EQ(after.substr(20 * kRec), before.substr(20 * kRec));
}

TEST_F(BaseFileTest, StoreRangeKeepsBytesBeyondTheLastRecord) {
  const std::string tail = "trailing bytes of an oversized file";
  WriteBytes(Path(), Distinct(12) + tail);
  const std::vector<ProductRecord> records(4, ClearedRecord());
  ASSERT_TRUE(folder.StoreRange("Base1.bsd", 0, records, error));
  const std::string after = ReadBytes(Path());
  ASSERT_EQ(after.size(), 12 * kRec + tail.size());
  EXPECT_EQ(after.substr(12 * kRec), tail);
  EXPECT_EQ(after.substr(4 * kRec, 8 * kRec), Distinct(12).substr(4 * kRec));
}

TEST_F(BaseFileTest, StoreRangeBeyondAShortFileFillsTheGap) {
  WriteBytes(Path(), Distinct(3) + "torn");
  const std::vector<ProductRecord> records(2, ClearedRecord());
  ASSERT_TRUE(folder.StoreRange("Base1.bsd", 5, records, error));
  const std::string after = ReadBytes(Path());
  ASSERT_EQ(after.size(), 7 * kRec);
  EXPECT_EQ(after.substr(0, 3 * kRec), Distinct(3));
  EXPECT_EQ(after.substr(3 * kRec, kRec), testing::NewRecordBytes());
  EXPECT_EQ(after.substr(6 * kRec, kRec), testing::ClearedRecordBytes());
}

TEST_F(BaseFileTest, StoreRangeStartsAMissingFile) {
  const std::vector<ProductRecord> records(1, ClearedRecord());
  ASSERT_TRUE(folder.StoreRange("Base4.bsd", 1, records, error));
  EXPECT_EQ(ReadBytes(Path("Base4.bsd")),
            testing::NewRecordBytes() + testing::ClearedRecordBytes());
}

TEST_F(BaseFileTest, ReadOnlyFileIsRefusedAndKept) {
  WriteBytes(Path(), Distinct(4));
  std::filesystem::permissions(
      Path(), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const std::vector<ProductRecord> records(1, ClearedRecord());
  EXPECT_FALSE(folder.StoreRange("Base1.bsd", 0, records, error));
  EXPECT_FALSE(folder.StoreRecord("Base1.bsd", 0, ClearedRecord(), error));
  EXPECT_FALSE(folder.CreateBase("Base1.bsd", error));
  EXPECT_NE(error.find("Base1.bsd"), std::string::npos);
  EXPECT_EQ(ReadBytes(Path()), Distinct(4));
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path() / "Base")) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(BaseFileTest, StoreRangeKeepsTheFilePermissions) {
  WriteBytes(Path(), Distinct(2));
  ::chmod(Path().c_str(), 0640);
  ASSERT_TRUE(
      folder.StoreRange("Base1.bsd", 0, std::vector<ProductRecord>(1, ClearedRecord()), error));
  struct stat st {};
  ASSERT_EQ(::stat(Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(BaseFileTest, AbsurdIndexesAreRefused) {
  std::vector<ProductRecord> out;
  WriteBytes(Path(), Distinct(1));
  EXPECT_FALSE(folder.ReadRecords("Base1.bsd", -1, 1, out, error));
  EXPECT_FALSE(folder.ReadRecords("Base1.bsd", 0, 1 << 30, out, error));
  EXPECT_FALSE(folder.StoreRecord("Base1.bsd", -5, NewFileRecord(), error));
  EXPECT_EQ(ReadBytes(Path()), Distinct(1));
}

// A base file kept elsewhere (a shared folder, a second disk) and linked
// into Base: every store changes the file the link points to, in its own
// folder, and the link stays.
TEST_F(BaseFileTest, StoresThroughALinkReplaceItsTarget) {
  namespace fs = std::filesystem;
  struct Case {
    const char* what;
    std::function<void(const fs::path& target)> link;
  };
  const Case cases[] = {
      {"absolute", [&](const fs::path& t) { fs::create_symlink(t, Path()); }},
      {"relative", [&](const fs::path&) { fs::create_symlink("../shared/Base1.bsd", Path()); }},
      {"chain",
       [&](const fs::path& t) {
         fs::create_symlink(t, dir.path() / "shared" / "hop");
         fs::create_symlink("../shared/hop", Path());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir.path() / "Base");
    fs::remove_all(dir.path() / "shared");
    fs::create_directories(dir.path() / "Base");
    fs::create_directories(dir.path() / "shared");
    const fs::path target = dir.path() / "shared" / "Base1.bsd";
    WriteBytes(target, Distinct(3));
    c.link(target);

    const std::vector<ProductRecord> two{ClearedRecord()};
    ASSERT_TRUE(folder.StoreRange("Base1.bsd", 1, two, error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path()));
    const std::string bytes = ReadBytes(target);
    ASSERT_EQ(bytes.size(), 3 * kRec);
    const BaseRecordBytes cleared = EncodeBaseRecord(ClearedRecord());
    EXPECT_EQ(bytes.substr(kRec, kRec), std::string(cleared.begin(), cleared.end()));
    EXPECT_EQ(bytes.substr(0, kRec), Distinct(1));

    ASSERT_TRUE(folder.CreateBase("Base1.bsd", error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path()));
    EXPECT_EQ(fs::file_size(target), kBaseFileRecords * kRec);
    // No temporary file is left in either folder.
    for (const fs::path& d : {dir.path() / "Base", dir.path() / "shared"}) {
      for (const auto& e : fs::directory_iterator(d)) {
        EXPECT_EQ(e.path().filename().string().find(".XXXXXX"), std::string::npos);
        EXPECT_EQ(e.path().filename().string().find("Base1.bsd."), std::string::npos);
      }
    }
  }
}

TEST_F(BaseFileTest, LinkLoopIsAWriteFailureAndChangesNothing) {
  namespace fs = std::filesystem;
  fs::create_directories(dir.path() / "Base");
  fs::create_symlink("Base2.bsd", Path());
  fs::create_symlink("Base1.bsd", Path("Base2.bsd"));
  const std::vector<ProductRecord> one{ClearedRecord()};
  EXPECT_FALSE(folder.StoreRange("Base1.bsd", 0, one, error));
  EXPECT_NE(error.find("Base1.bsd"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_symlink(Path()));
}

}  // namespace
}  // namespace zel
