#include "base/ini_file.h"

#include <gtest/gtest.h>

#include "base_test_support.h"
#include "support/hex.h"

namespace zel {
namespace {

using testing::Hex;

TEST(IniFile, NamesMatchWithoutRegardToCase) {
  // "[общие]" in cp1251, key "activepage".
  const IniFile ini = IniFile::Parse(Hex("5B EE E1 F9 E8 E5 5D 0D 0A") + "activepage=5\r\n");
  EXPECT_EQ(ini.ReadInteger("Общие", "ActivePage", 1), 5);
  EXPECT_EQ(ini.ReadInteger("ОБЩИЕ", "ACTIVEPAGE", 1), 5);
}

TEST(IniFile, ValueIsTheTrimmedTextAfterTheFirstEquals) {
  const IniFile ini = IniFile::Parse("[s]\r\n  key  =  a = b  \r\nempty=\r\n");
  EXPECT_EQ(ini.ReadString("s", "key", "x"), "a = b");
  EXPECT_EQ(ini.ReadString("s", "empty", "x"), "");
  EXPECT_EQ(ini.ReadString("s", "missing", "x"), "x");
  EXPECT_EQ(ini.ReadString("other", "key", "x"), "x");
}

TEST(IniFile, FirstOfDuplicateKeysAndSectionsWins) {
  const IniFile ini = IniFile::Parse("[s]\nk=1\nk=2\n[S]\nk=3\nj=4\n");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("s", "j", "none"), "none");
}

struct NumberCase {
  const char* text;
  int value;  // with default 42
};

class IniIntegerTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(IniIntegerTest, WholeNumbersOrTheDefault) {
  const IniFile ini = IniFile::Parse(std::string("[s]\r\nn=") + GetParam().text + "\r\n");
  EXPECT_EQ(ini.ReadInteger("s", "n", 42), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    ::testing::Values(NumberCase{"7", 7}, NumberCase{"-3", -3}, NumberCase{"+5", 5},
                      NumberCase{"0017", 17}, NumberCase{"", 42}, NumberCase{"abc", 42},
                      NumberCase{"1.5", 42}, NumberCase{"12abc", 42},
                      NumberCase{"2147483647", 2147483647}, NumberCase{"2147483648", 42},
                      NumberCase{"-2147483648", -2147483647 - 1},
                      NumberCase{"99999999999999999999", 42}, NumberCase{"-", 42}));

TEST(IniFile, BooleansAreWholeNumbers) {
  const IniFile ini = IniFile::Parse("[s]\nt=2\nf=0\nbad=yes\n");
  EXPECT_TRUE(ini.ReadBool("s", "t", false));
  EXPECT_FALSE(ini.ReadBool("s", "f", true));
  EXPECT_TRUE(ini.ReadBool("s", "bad", true));
  EXPECT_FALSE(ini.ReadBool("s", "bad", false));
  EXPECT_TRUE(ini.ReadBool("s", "missing", true));
}

TEST(IniFile, SerializesCp1251WithCrLf) {
  IniFile ini;
  ini.WriteInteger("Общие", "ActivePage", 1);
  ini.WriteString("Активный ЖРМ", "Верс", "ЖРМ 1.5");
  EXPECT_EQ(ini.Serialize(),
            Hex("5B CE E1 F9 E8 E5 5D 0D 0A") +                           // [Общие]
                "ActivePage=1\r\n" +                                      //
                Hex("5B C0 EA F2 E8 E2 ED FB E9 20 C6 D0 CC 5D 0D 0A") +  // [Активный ЖРМ]
                Hex("C2 E5 F0 F1 3D C6 D0 CC 20 31 2E 35 0D 0A"));        // Верс=ЖРМ 1.5
}

TEST(IniFile, WritesKeepUnknownKeysAndComments) {
  IniFile ini = IniFile::Parse("; hand-written\n[a]\nx=1\nunknown=keep me\n\n[b]\ny=2\n");
  ini.WriteString("A", "X", "9");
  ini.WriteString("a", "new", "n");
  ini.WriteString("c", "z", "3");
  EXPECT_EQ(ini.Serialize(),
            "; hand-written\r\n[a]\r\nx=9\r\nunknown=keep me\r\nnew=n\r\n\r\n[b]\r\ny=2\r\n"
            "[c]\r\nz=3\r\n");
}

TEST(IniFile, ValuesNeverSpanLines) {
  IniFile ini;
  ini.WriteString("s", "k", "a\r\n[evil]\r\nb=1");
  const IniFile back = IniFile::Parse(ini.Serialize());
  EXPECT_EQ(back.ReadString("s", "k", ""), "a  [evil]  b=1");
  EXPECT_EQ(back.ReadString("evil", "b", "none"), "none");
}

TEST(IniFile, GarbageParsesWithoutTrouble) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 131 + 7) % 256);
  const IniFile ini = IniFile::Parse(bytes + "\n[s\nk=v");
  EXPECT_EQ(ini.ReadString("s", "k", "d"), "v");  // an unclosed section name still counts
  EXPECT_EQ(ini.ReadInteger("Общие", "ActivePage", 1), 1);
}

TEST(IniFile, SaveAndLoadOnDisk) {
  testing::TempDir dir;
  const auto path = dir.path() / "ZELBase.ini";
  IniFile ini;
  EXPECT_FALSE(ini.Load(path));
  ini.WriteString("Диапазон базы", "begin", "0001");
  std::string error;
  ASSERT_TRUE(ini.Save(path, error)) << error;
  IniFile back;
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.ReadString("диапазон БАЗЫ", "BEGIN", ""), "0001");
}

TEST(IniFile, ReadOnlyFileIsNotWritten) {
  testing::TempDir dir;
  const auto path = dir.path() / "ZELBase.ini";
  testing::WriteBytes(path, "[s]\r\nk=old\r\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  IniFile ini = IniFile::Parse("[s]\r\nk=new\r\n");
  std::string error;
  EXPECT_FALSE(ini.Save(path, error));
  EXPECT_EQ(testing::ReadBytes(path), "[s]\r\nk=old\r\n");
}

TEST(IniFile, OversizedFileReadsAsEmpty) {
  testing::TempDir dir;
  const auto path = dir.path() / "ZELBase.ini";
  testing::WriteBytes(path, "[s]\nk=v\n" + std::string(kMaxIniBytes, ' '));
  IniFile ini;
  EXPECT_FALSE(ini.Load(path));
  EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
}

}  // namespace
}  // namespace zel
