#include "exchange/export_formats.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>

#include "exchange/zel_base_file.h"
#include "support/hex.h"

namespace zel {
namespace {

using namespace std::string_view_literals;
using testing::BreadRecord;
using testing::Zeros;

// A table whose row 1 holds product 7, "Хлеб" at twelve and a half.
ProductTable BreadTable() {
  ProductTable table;
  table.SetRow(1, 7, {"Хлеб", "12.50", "3", "460123456789", "1.500", "5", "1"});
  return table;
}

// The 40-character name: 32 capitals without Ё, then 8 small letters.
constexpr const char* kName40 = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежз";

// Heading line of the CSV export.
constexpr auto kCsvHeading =
    "\xED\xEE\xEC\xE5\xF0;\xED\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5;\xF6\xE5\xED\xE0;\xEE\xF2\xE4\xE5\xEB;\xF8\xF2\xF0\xE8\xF5-\xEA\xEE\xE4;\xF3\xF7\xE5\xF2;\r\n"sv;

// Heading line and the single-blank line of the text export.
constexpr auto kTextHeading =
    "\xED\xEE\xEC\xE5\xF0   "
    "\xED\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5             "
    "\xF6\xE5\xED\xE0           "
    "\xEE\xF2\xE4\xE5\xEB    "
    "\xF8\xF2\xF0\xE8\xF5-\xEA\xEE\xE4      "
    "\xF3\xF7\xE5\xF2\r\n \r\n"sv;

TEST(ExportCsv, OneSlotIsHeadingAndOneRow) {
  const std::string expected =
      std::string(kCsvHeading) + "7;\"\xD5\xEB\xE5\xE1\";12,50;3;\"460123456789\";1,500;\r\n";
  EXPECT_EQ(ExportCsv(BreadTable(), 1), expected);
}

TEST(ExportCsv, NoRowsWritesOnlyTheHeading) {
  EXPECT_EQ(ExportCsv(BreadTable(), 0), kCsvHeading);
}

TEST(ExportCsv, NameWithSemicolonAndQuoteIsWrittenUnchangedBetweenQuotes) {
  ProductTable table;
  table.SetRow(1, 1, {"Сок \"Сад;сад\"", "0.00", "1", "", "0.000", "", ""});
  const std::string expected =
      std::string(kCsvHeading) +
      "1;\"\xD1\xEE\xEA \"\xD1\xE0\xE4;\xF1\xE0\xE4\"\";0,00;1;\"\";0,000;\r\n";
  EXPECT_EQ(ExportCsv(table, 1), expected);
}

TEST(ExportCsv, KeepsAll40CharactersOfAName) {
  ProductTable table;
  table.SetRow(1, 2, {kName40, "1.00", "1", "", "0.000", "", ""});
  const std::string expected = std::string(kCsvHeading) +
                               "2;"
                               "\"\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
                               "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF"
                               "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\";1,00;1;\"\";0,000;\r\n";
  EXPECT_EQ(ExportCsv(table, 1), expected);
}

TEST(ExportCsv, WritesRowsInOrderFromRowOne) {
  ProductTable table;
  table.SetRow(1, 100, {"a", "1.00", "1", "", "0.000", "", ""});
  table.SetRow(2, 101, {"b", "2.00", "2", "", "0.000", "", ""});
  table.SetRow(3, 102, {"c", "3.00", "3", "", "0.000", "", ""});
  const std::string expected = std::string(kCsvHeading) +
                               "100;\"a\";1,00;1;\"\";0,000;\r\n"
                               "101;\"b\";2,00;2;\"\";0,000;\r\n";
  EXPECT_EQ(ExportCsv(table, 2), expected);
}

TEST(ExportText, OneSlotHasHeadingBlankLineAndRow) {
  const std::string expected = std::string(kTextHeading) +
                               "7       "
                               "\xD5\xEB\xE5\xE1                  "
                               "   "
                               "12.50          "
                               "3        "
                               "460123456789   "
                               "1.500          \r\n";
  EXPECT_EQ(ExportText(BreadTable(), 1), expected);
}

TEST(ExportText, CutsA40CharacterNameTo22) {
  ProductTable table;
  table.SetRow(1, 2, {kName40, "1.00", "1", "", "0.000", "", ""});
  const std::string expected =
      std::string(kTextHeading) +
      "2       "
      "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5"
      "   "
      "1.00           "
      "1        "
      "               "
      "0.000          \r\n";
  EXPECT_EQ(ExportText(table, 1), expected);
}

TEST(ExportText, EveryFieldIsCutToItsWidth) {
  ProductTable table;
  const std::string x(30, 'x');
  table.SetRow(1, 123456789, {x, x, x, x, x, "", ""});
  const std::string expected = std::string(kTextHeading) +
                               "12345678"
                               "xxxxxxxxxxxxxxxxxxxxxx"
                               "   "
                               "xxxxxxxxxxxxxxx"
                               "xxxxxxxxx"
                               "xxxxxxxxxxxxxxx"
                               "xxxxxxxxxxxxxxx\r\n";
  const std::string text = ExportText(table, 1);
  EXPECT_EQ(text, expected);
  EXPECT_EQ(text.size() - kTextHeading.size(), 87u + 2u);
}

TEST(ExportZelBase, OneSlotIsOne77ByteRecordWithTheDecimalPoint) {
  const std::string record = BreadRecord(
      "\x01"
      "0\x00\x00"sv);
  ASSERT_EQ(record.size(), 77u);
  EXPECT_EQ(ExportZelBase(BreadTable(), 1, "ЖРМ 3"), record);
}

TEST(ExportZelBase, CutsA40CharacterNameTo34) {
  ProductTable table;
  table.SetRow(1, 2, {kName40, "1.00", "1", "", "0.000", "", ""});
  const std::string expected =
      std::string(
          "\"\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4"
          "\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1") +
      "\x04"
      "1.00" +
      Zeros(6) +
      "\x01"
      "1" +
      Zeros(13) +
      "\x05"
      "0.000" +
      Zeros(4) +
      "\x01"
      "0" +
      Zeros(4);
  ASSERT_EQ(expected.size(), 77u);
  EXPECT_EQ(ExportZelBase(table, 1, "ЖРМ 3"), expected);
}

TEST(ExportZelBase, GroupFieldIsColumn6OnlyForTheCashRegister) {
  struct Case {
    const char* type;
    std::string_view groupField;
  };
  const Case cases[] = {
      {"ККМ ЗЕЛ-7Ф",
       "\x01"
       "5\x00\x00"sv},
      {"ЖРМ 3",
       "\x01"
       "0\x00\x00"sv},
      {"ЖРМ 1.5в",
       "\x01"
       "0\x00\x00"sv},
      {"ЖРМ 200",
       "\x01"
       "0\x00\x00"sv},
      {"ККМ ZEL-7Ф",
       "\x01"
       "0\x00\x00"sv},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExportZelBase(BreadTable(), 1, c.type), BreadRecord(c.groupField)) << c.type;
  }
}

TEST(ExportZelBase, ThreeDigitGroupOfTheCashRegister) {
  ProductTable table = BreadTable();
  table.SetCell(1, kCol6, "100");
  EXPECT_EQ(ExportZelBase(table, 1, "ККМ ЗЕЛ-7Ф"), BreadRecord("\x03"
                                                               "100"sv));
}

TEST(ExportZelBase, RecordsFollowEachOtherWithoutHeader) {
  ProductTable table = BreadTable();
  table.SetRow(2, 8, {"Хлеб", "12.50", "3", "460123456789", "1.500", "", ""});
  const std::string record = BreadRecord(
      "\x01"
      "0\x00\x00"sv);
  EXPECT_EQ(ExportZelBase(table, 2, "ЖРМ 3"), record + record);
  EXPECT_EQ(ExportZelBase(table, 0, "ЖРМ 3"), "");
}

std::span<const uint8_t, kZelBaseRecordBytes> AsRecord(const std::string& bytes) {
  return std::span<const uint8_t, kZelBaseRecordBytes>(
      reinterpret_cast<const uint8_t*>(bytes.data()), kZelBaseRecordBytes);
}

TEST(DecodeZelBaseRecord, ReadsTheTypedRecord) {
  const std::string record = BreadRecord(
      "\x02"
      "42\x00"sv);
  const ProductRecord r = DecodeZelBaseRecord(AsRecord(record));
  EXPECT_EQ(r, (ProductRecord{"Хлеб", "12.50", "3", "460123456789", "1.500", "42", ""}));
}

TEST(DecodeZelBaseRecord, LengthAboveCapacityIsCutToCapacity) {
  std::string record = BreadRecord(
      "\x01"
      "0\x00\x00"sv);
  record.replace(35, 11,
                 "\xFF"
                 "1234567890");  // price length 255, capacity 10
  record[46] = '\x09';           // section length 9, capacity 1
  record[75] = '\x7F';           // unused bytes are ignored
  const ProductRecord r = DecodeZelBaseRecord(AsRecord(record));
  EXPECT_EQ(r.price, "1234567890");
  EXPECT_EQ(r.section, "3");
  EXPECT_EQ(r.barcode, "460123456789");
  EXPECT_EQ(r.column7, "");
}

}  // namespace
}  // namespace zel
