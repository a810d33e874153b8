// The 32-byte record of the cash register and its invalid-record rule.
// Expected bytes are typed from the record table.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/register_record.h"
#include "support/varied_products.h"

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::Row;

Bytes Encode(const ProductRecord& r) {
  std::array<uint8_t, kRegisterRecordBytes> out{};
  out.fill(0xEE);  // the encoder must own every byte
  EncodeRegisterRecord(r, out);
  return Bytes(out.begin(), out.end());
}

ProductRecord Decode(const Bytes& in) {
  return DecodeRegisterRecord(std::span<const uint8_t, kRegisterRecordBytes>(in.data(), in.size()));
}

const Bytes kCheese = {0x00, 0x00, 0x00, 0x00, 0x02, 0x01,                    // barcode 201
                       0x01,                                                  // constant
                       0xD1, 0xFB, 0xF0, 0x20, 0x20, 0x20, 0x20, 0x20,        // Сыр + 13 spaces
                       0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x00,  // ... reserved
                       0x00, 0x00, 0x12, 0x50,                                // 12.50
                       0x08,                                                  // section
                       0x64,                                                  // group 100
                       0x00, 0x00};

TEST(RegisterRecord, EncodesEveryField) {
  EXPECT_EQ(Encode(Row("Сыр", "12.50", "8", "201", "100")), kCheese);
}

TEST(RegisterRecord, DecodesEveryField) {
  const ProductRecord r = Decode(kCheese);
  EXPECT_EQ(r.barcode, "201");
  EXPECT_EQ(r.name, "Сыр             ");
  EXPECT_EQ(r.price, "12.50");
  EXPECT_EQ(r.section, "8");
  EXPECT_EQ(r.column6, "100");
}

TEST(RegisterRecord, PriceBytes) {
  struct Case {
    const char* price;
    Bytes bytes;
  };
  const Case cases[] = {{"12.50", {0x00, 0x00, 0x12, 0x50}},
                        {"999999.99", {0x99, 0x99, 0x99, 0x99}},
                        {"0.00", {0x00, 0x00, 0x00, 0x00}},
                        {"12.5", {0x00, 0x00, 0x12, 0x50}}};
  for (const Case& c : cases) {
    const Bytes b = Encode(Row("", c.price, "1", "", "0"));
    EXPECT_EQ(Bytes(b.begin() + 24, b.begin() + 28), c.bytes) << c.price;
  }
}

TEST(RegisterRecord, NameIsCutOrPaddedToSixteen) {
  const Bytes longName = Encode(Row("ABCDEFGHIJKLMNOPQRST", "0.00", "1", "", "0"));
  EXPECT_EQ(Bytes(longName.begin() + 7, longName.begin() + 24),
            (Bytes{0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D,
                   0x4E, 0x4F, 0x50, 0x00}));
  const Bytes shortName = Encode(Row("abc", "0.00", "1", "", "0"));
  EXPECT_EQ(Bytes(shortName.begin() + 7, shortName.begin() + 24),
            (Bytes{0x61, 0x62, 0x63, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
                   0x20, 0x20, 0x20, 0x00}));
}

TEST(RegisterRecord, NoBarcodeIsSixZeroBytes) {
  for (const char* none : {"", "нет товара"}) {
    const Bytes b = Encode(Row("", "0.00", "1", none, "0"));
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 6), Bytes(6, 0x00)) << none;
    EXPECT_EQ(b[6], 0x01);
    EXPECT_EQ(Decode(b).barcode, "");
  }
}

TEST(RegisterRecord, AnyFFInBarcodeOrPriceToGroupIsInvalid) {
  for (std::size_t i : {0u, 5u, 24u, 27u, 28u, 29u}) {
    Bytes b = kCheese;
    b[i] = 0xFF;
    const ProductRecord r = Decode(b);
    EXPECT_EQ(r.name, "Некорректная запись") << i;
    EXPECT_EQ(r.barcode, "") << i;
    EXPECT_EQ(r.price, "0.00") << i;
    EXPECT_EQ(r.section, "1") << i;
    EXPECT_EQ(r.column6, "0") << i;
  }
}

TEST(RegisterRecord, FFOutsideTheCheckedBytesIsValid) {
  for (std::size_t i : {6u, 7u, 23u, 30u, 31u}) {
    Bytes b = kCheese;
    b[i] = 0xFF;
    EXPECT_EQ(Decode(b).price, "12.50") << i;
  }
}

TEST(RegisterRecord, ControlBytesInNameReadAsBlanks) {
  Bytes b = kCheese;
  b[10] = 0x0A;
  b[11] = 0x00;
  EXPECT_EQ(Decode(b).name, "Сыр             ");
}

}  // namespace
}  // namespace zel
