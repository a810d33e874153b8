#include "base/base_record.h"

#include <gtest/gtest.h>

#include <random>

#include "support/hex.h"

namespace zel {
namespace {

using testing::Hex;
using testing::Zeros;

std::string Bytes(const BaseRecordBytes& b) {
  return std::string(b.begin(), b.end());
}

ProductRecord Decode(const std::string& bytes) {
  BaseRecordBytes b{};
  std::copy_n(bytes.begin(), kBaseRecordBytes, b.begin());
  return DecodeBaseRecord(b);
}

TEST(BaseRecord, NewFileRecordBytes) {
  const std::string expected = testing::NewRecordBytes();
  ASSERT_EQ(expected.size(), 77u);
  EXPECT_EQ(Bytes(EncodeBaseRecord(NewFileRecord())), expected);
}

TEST(BaseRecord, ClearedRecordDiffersOnlyInColumn6) {
  EXPECT_EQ(Bytes(EncodeBaseRecord(ClearedRecord())), testing::ClearedRecordBytes());
}

TEST(BaseRecord, FieldsAtTheirOffsetsInCp1251) {
  const ProductRecord r{"Хлеб", "12.50", "3", "4600000000017", "1.500", "12", "1"};
  const std::string expected = Hex("04 D5 EB E5 E1") + Zeros(30) +              // "Хлеб"
                               Hex("05 31 32 2E 35 30") + Zeros(5) +            // "12.50"
                               Hex("01 33") +                                   // "3"
                               Hex("0C 34 36 30 30 30 30 30 30 30 30 30 31") +  // 12 of 13 digits
                               Hex("05 31 2E 35 30 30") + Zeros(4) +            // "1.500"
                               Hex("02 31 32") + Zeros(1) +                     // "12"
                               Hex("01 31");                                    // "1"
  EXPECT_EQ(Bytes(EncodeBaseRecord(r)), expected);
}

TEST(BaseRecord, FortyCharacterNameStoredAs34) {
  ProductRecord r = NewFileRecord();
  r.name = std::string(40, 'A');
  const BaseRecordBytes b = EncodeBaseRecord(r);
  EXPECT_EQ(b[0], 0x22);
  EXPECT_EQ(Bytes(b).substr(1, 34), std::string(34, 'A'));
  EXPECT_EQ(b[35], 0x04);  // the price field is untouched
  EXPECT_EQ(DecodeBaseRecord(b).name, std::string(34, 'A'));
}

TEST(BaseRecord, CyrillicWidthCountsCharactersNotUtf8Bytes) {
  ProductRecord r = NewFileRecord();
  r.name = "Молоко пастеризованное 3,2% в бутылке 1 л";  // 41 characters
  const ProductRecord back = DecodeBaseRecord(EncodeBaseRecord(r));
  EXPECT_EQ(back.name, "Молоко пастеризованное 3,2% в буты");
}

TEST(BaseRecord, LengthByteLargerThanFieldReadsWholeField) {
  std::string bytes = testing::NewRecordBytes();
  bytes[0] = static_cast<char>(0xFF);
  bytes.replace(1, 34, std::string(34, 'N'));
  bytes[46] = 0x05;  // section claims 5 characters in a 1-character field
  const ProductRecord r = Decode(bytes);
  EXPECT_EQ(r.name, std::string(34, 'N'));
  EXPECT_EQ(r.section, "1");
  EXPECT_EQ(r.price, "0.00");
}

TEST(BaseRecord, BytesBeyondLengthAreIgnored) {
  std::string bytes = testing::NewRecordBytes();
  bytes.replace(40, 6, "999999");  // after "0.00" inside the price field
  EXPECT_EQ(Decode(bytes), NewFileRecord());
}

TEST(BaseRecord, RoundTripOfEveryField) {
  const ProductRecord r{"Сыр «Российский»", "9999999.99", "9", "123456789012",
                        "99999.999",        "100",        "0"};
  EXPECT_EQ(DecodeBaseRecord(EncodeBaseRecord(r)), r);
}

TEST(BaseRecord, GarbageDecodesWithinFieldWidths) {
  std::mt19937 rng(7);
  for (int i = 0; i < 200; ++i) {
    BaseRecordBytes b;
    for (auto& x : b) x = static_cast<uint8_t>(rng());
    const ProductRecord r = DecodeBaseRecord(b);
    // cp1251 characters are at most 3 UTF-8 bytes each.
    EXPECT_LE(r.name.size(), 34u * 3);
    EXPECT_LE(r.section.size(), 3u);
    EXPECT_LE(r.column7.size(), 3u);
  }
}

}  // namespace
}  // namespace zel
