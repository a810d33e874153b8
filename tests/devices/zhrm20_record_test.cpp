// The 24-byte ЖРМ 2.0 record and its accounting value.
#include "devices/zhrm20_record.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;
using Record = std::array<uint8_t, kZhrm20RecordBytes>;

const Bytes kBread = {0x00, 0x00, 0x00, 0x00, 0x02, 0x01,  // barcode 201
                      0x00, 0x00, 0x00, 0x12, 0x30,        // price
                      0x03,                                // section
                      0x68, 0x6C, 0x65, 0x62, 0x20, 0x57,
                      0x48, 0x49, 0x54, 0x45, 0x00, 0x00};  // name

ProductRecord Bread() {
  ProductRecord r;
  r.name = "Хлеб white";
  r.price = "12.30";
  r.section = "3";
  r.barcode = "201";
  return r;
}

Record ToRecord(const Bytes& b) {
  Record r{};
  std::copy_n(b.begin(), r.size(), r.begin());
  return r;
}

TEST(Zhrm20Record, EncodesEveryFieldAtItsOffset) {
  Record out;
  out.fill(0xEE);
  EncodeZhrm20Record(Bread(), out);
  EXPECT_EQ(Bytes(out.begin(), out.end()), kBread);
}

TEST(Zhrm20Record, DecodesEveryField) {
  const ProductRecord r = DecodeZhrm20Record(ToRecord(kBread));
  EXPECT_EQ(r.name, "ХЛЕБ WHITE  ");
  EXPECT_EQ(r.price, "12.30");
  EXPECT_EQ(r.section, "3");
  EXPECT_EQ(r.barcode, "201");
  EXPECT_EQ(r.column6, "");
}

TEST(Zhrm20Record, NoBarcodeTextWritesZeros) {
  ProductRecord p = Bread();
  p.barcode = "нет товара";
  Record out;
  EncodeZhrm20Record(p, out);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 6), Bytes(6, 0x00));
}

TEST(Zhrm20Record, ZeroBarcodeBytesReadEmpty) {
  Bytes b = kBread;
  b[4] = b[5] = 0x00;
  EXPECT_EQ(DecodeZhrm20Record(ToRecord(b)).barcode, "");
}

TEST(Zhrm20Record, RoundTripKeepsEveryCell) {
  ProductRecord p;
  p.name = "САХАР ПЕСОК 1";
  p.price = "1.05";
  p.section = "1";
  p.barcode = "4600000000017";
  Record out;
  EncodeZhrm20Record(p, out);
  const ProductRecord back = DecodeZhrm20Record(out);
  EXPECT_EQ(back.name, "САХАР ПЕСОК ");
  EXPECT_EQ(back.price, "1.05");
  EXPECT_EQ(back.section, "1");
  EXPECT_EQ(back.barcode, "460000000001");
}

struct AccountingCase {
  std::array<uint8_t, 4> bytes;
  const char* text;
};

class Zhrm20AccountingTest : public ::testing::TestWithParam<AccountingCase> {};

TEST_P(Zhrm20AccountingTest, BigEndianThousandths) {
  EXPECT_EQ(DecodeZhrm20Accounting(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, Zhrm20AccountingTest,
                         ::testing::Values(AccountingCase{{0x00, 0x00, 0x05, 0xDC}, "1.500"},
                                           AccountingCase{{0x00, 0x00, 0x04, 0xD2}, "1.234"},
                                           AccountingCase{{0x00, 0x00, 0x00, 0x00}, "0.000"},
                                           AccountingCase{{0x00, 0x00, 0x00, 0x05}, "0.005"},
                                           AccountingCase{{0xFF, 0xFF, 0xFF, 0xFF},
                                                          "4294967.295"}));

}  // namespace
}  // namespace zel
