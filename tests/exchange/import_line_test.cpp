#include "exchange/import_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "exchange/line_reader.h"

namespace zel {
namespace {

constexpr const char* kBadPrice = "Неверный формат цены";
constexpr const char* kBadSection = "Неверный отдел";
constexpr const char* kBadBarcode = "Неверный штрих-код";

TEST(ParseImportLine, AcceptedLineGivesItsFourFields) {
  const ImportLine line =
      ParseImportLine("\xD5\xEB\xE5\xE1 \xF0\xE6\xE0\xED\xEE\xE9;12,50;3;460123456789");
  EXPECT_TRUE(line.Accepted());
  EXPECT_EQ(line.name, "Хлеб ржаной");
  EXPECT_EQ(line.price, "12.50");
  EXPECT_EQ(line.section, "3");
  EXPECT_EQ(line.barcode, "460123456789");
}

TEST(ParseImportLine, FieldRules) {
  struct Case {
    const char* line;
    const char* error;  // "" when accepted
  };
  const Case cases[] = {
      {"a;12.50;3;1", ""},
      {"a;12,50;3;1", ""},
      {";12.50;3;1", ""},
      {"a;99999.99;7;1", ""},
      {"a;0.00;1;1", ""},
      {"a;12.5;3;1", kBadPrice},
      {"a;12;3;1", kBadPrice},
      {"a;.50;3;1", kBadPrice},
      {"a;,50;3;1", kBadPrice},
      {"a;12.500;3;1", kBadPrice},
      {"a;123456.78;3;1", kBadPrice},
      {"a;1,2.00;3;1", kBadPrice},
      {"a;1.2.00;3;1", kBadPrice},
      {"a;1a.00;3;1", kBadPrice},
      {"a;12.5x;3;1", kBadPrice},
      {"a; 12.50;3;1", kBadPrice},
      {"a;-1.00;3;1", kBadPrice},
      {"a;;3;1", kBadPrice},
      {"abc", kBadPrice},
      {"a;12.50;8;1", kBadSection},
      {"a;12.50;0;1", kBadSection},
      {"a;12.50;33;1", kBadSection},
      {"a;12.50;;1", kBadSection},
      {"a;12.50;x;1", kBadSection},
      {"a;12.50;7", kBadBarcode},
      {"a;12.50;7;", kBadBarcode},
      {"a;12.50;7;1234567890123", kBadBarcode},
      {"a;12.50;7;123456789012", ""},
      {"a;12.50;7; x-Y", ""},
      {"a;12.50;7;\xF8\xF2\xF0\xE8\xF5", ""},
      {"a;12.5;8;", kBadPrice},
      {"a;12.50;8;", kBadSection},
      {"a;12.50;1;123;extra;more", ""},
      {"a;12.50;1;123;", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseImportLine(c.line).error, c.error) << c.line;
}

TEST(ParseImportLine, AnythingAfterTheFourthSemicolonIsIgnored) {
  const ImportLine line = ParseImportLine("a;1.00;2;777;999;x");
  EXPECT_EQ(line.barcode, "777");
}

TEST(ParseImportLine, NameIsTakenAsItIs) {
  const ImportLine line = ParseImportLine(
      "  \"\xD1\xEE\xEA\" \xB9"
      "1 ;1.00;2;5");
  EXPECT_TRUE(line.Accepted());
  EXPECT_EQ(line.name, "  \"Сок\" №1 ");
}

TEST(LooksLikeUtf8, TellsUtf8FromCp1251) {
  struct Case {
    std::string bytes;
    bool utf8;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF", true},
      {"\xEF\xBB\xBF"
       "abc;1.00;1;1",
       true},
      {"\xD0\xA5\xD0\xBB\xD0\xB5\xD0\xB1;1.00;1;1", true},
      {"\xE2\x84\x96 1", true},
      {"\xD0\xA5\xD0", true},
      {"\xD5\xEB\xE5\xE1;1.00;1;1", false},
      {"\xB9 5", false},
      {"plain ascii;1.00;1;1", false},
      {"", false},
      {"\xC0\x80", false},
      {"\xD0\xA5\xD5\xEB", false},
      {"\xD0\xA5 \xBB", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeUtf8(c.bytes), c.utf8) << c.bytes;
}

std::vector<std::string> ReadAll(const std::string& bytes) {
  std::istringstream in(bytes);
  LineReader reader(in);
  std::vector<std::string> lines;
  std::string line;
  for (int guard = 0; guard < 100 && reader.Next(line); ++guard) lines.push_back(line);
  return lines;
}

TEST(LineReader, EndsLinesAtCrLfLfOrCr) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(ReadAll("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(ReadAll("x\r\n"), (Lines{"x"}));
  EXPECT_EQ(ReadAll("\r\n\r\ny"), (Lines{"", "", "y"}));
  EXPECT_EQ(ReadAll(""), Lines{});
  EXPECT_EQ(ReadAll(std::string("a\0b\r\n", 5)), (Lines{std::string("a\0b", 3)}));
}

TEST(LineReader, OverlongLineIsCutAndTheNextLineIsIntact) {
  const std::string bytes = std::string(kMaxLineBytes + 100, 'z') + "\r\nnext";
  const std::vector<std::string> lines = ReadAll(bytes);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(kMaxLineBytes, 'z'));
  EXPECT_EQ(lines[1], "next");
}

}  // namespace
}  // namespace zel
