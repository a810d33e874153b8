// The 32-byte ЖРМ 1.5 / 1.5в record and its accounting value.
#include "devices/zhrm15_record.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;
using Record = std::array<uint8_t, kZhrm15RecordBytes>;

Record ToRecord(const Bytes& b) {
  Record r{};
  std::copy_n(b.begin(), std::min(b.size(), r.size()), r.begin());
  return r;
}

ProductRecord Bread() {
  ProductRecord r;
  r.name = "Хлеб white";
  r.price = "12.30";
  r.section = "3";
  r.barcode = "123";
  r.column6 = "1";
  return r;
}

// Bread() as a ЖРМ 1.5в record.
const Bytes kBreadWeighed = {
    0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32, 0x33,  // barcode
    0x01,                                                                    // weighed
    0x09,                                                                    // index
    0x00, 0x00, 0x00, 0x12, 0x30,                                            // price
    0x68, 0x6C, 0x65, 0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00,  // name
    0x03};                                                                   // section

TEST(Zhrm15Record, EncodesEveryFieldAtItsOffset) {
  Record out;
  out.fill(0xEE);
  EncodeZhrm15Record(Bread(), Zhrm15Model::Weighed, out);
  EXPECT_EQ(Bytes(out.begin(), out.end()), kBreadWeighed);
}

TEST(Zhrm15Record, PlainModelWritesWeighedByteZero) {
  Record out;
  EncodeZhrm15Record(Bread(), Zhrm15Model::Plain, out);
  Bytes expected = kBreadWeighed;
  expected[12] = 0x00;
  EXPECT_EQ(Bytes(out.begin(), out.end()), expected);
}

TEST(Zhrm15Record, DecodesNameInCapitalsWithTrailingBlanks) {
  const ProductRecord r = DecodeZhrm15Record(ToRecord(kBreadWeighed), Zhrm15Model::Weighed);
  EXPECT_EQ(r.name, "ХЛЕБ WHITE  ");
  EXPECT_EQ(r.price, "12.30");
  EXPECT_EQ(r.section, "3");
  EXPECT_EQ(r.barcode, "123");
  EXPECT_EQ(r.column6, "1");
  EXPECT_EQ(r.accounting, "");
  EXPECT_EQ(r.column7, "");
}

TEST(Zhrm15Record, PlainModelReadsColumnSixAsZero) {
  const ProductRecord r = DecodeZhrm15Record(ToRecord(kBreadWeighed), Zhrm15Model::Plain);
  EXPECT_EQ(r.column6, "0");
}

TEST(Zhrm15Record, WeighedByteReadInDecimal) {
  Bytes b = kBreadWeighed;
  b[12] = 0xC8;
  EXPECT_EQ(DecodeZhrm15Record(ToRecord(b), Zhrm15Model::Weighed).column6, "200");
}

TEST(Zhrm15Record, ThirteenDigitBarcodeStoresFirstTwelveWithIndexZero) {
  ProductRecord p = Bread();
  p.barcode = "4601234567890";
  Record out;
  EncodeZhrm15Record(p, Zhrm15Model::Plain, out);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 12),
            (Bytes{0x34, 0x36, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39}));
  EXPECT_EQ(out[13], 0x00);
  EXPECT_EQ(DecodeZhrm15Record(out, Zhrm15Model::Plain).barcode, "460123456789");
}

TEST(Zhrm15Record, FirstByteZeroReadsNoBarcodeWhateverTheIndex) {
  Bytes b = kBreadWeighed;
  b[0] = 0x00;
  EXPECT_EQ(DecodeZhrm15Record(ToRecord(b), Zhrm15Model::Plain).barcode, "");
}

TEST(Zhrm15Record, IndexAboveElevenReadsNoBarcode) {
  Bytes b = kBreadWeighed;
  b[13] = 12;
  EXPECT_EQ(DecodeZhrm15Record(ToRecord(b), Zhrm15Model::Plain).barcode, "");
}

TEST(Zhrm15Record, EmptyRowIsAllZeroButItsFields) {
  ProductRecord p;
  p.price = "0.00";
  p.section = "1";
  Record out;
  out.fill(0xEE);
  EncodeZhrm15Record(p, Zhrm15Model::Weighed, out);
  Bytes expected(32, 0x00);
  expected[31] = 0x01;
  EXPECT_EQ(Bytes(out.begin(), out.end()), expected);
  const ProductRecord back = DecodeZhrm15Record(out, Zhrm15Model::Weighed);
  EXPECT_EQ(back.name, "            ");
  EXPECT_EQ(back.barcode, "");
  EXPECT_EQ(back.price, "0.00");
  EXPECT_EQ(back.column6, "0");
}

TEST(Zhrm15Record, RoundTripKeepsEveryCell) {
  ProductRecord p;
  p.name = "МОЛОКО 3,2%";
  p.price = "9999999.99";
  p.section = "7";
  p.barcode = "460123456789";
  p.column6 = "0";
  Record out;
  EncodeZhrm15Record(p, Zhrm15Model::Weighed, out);
  ProductRecord back = DecodeZhrm15Record(out, Zhrm15Model::Weighed);
  p.name += " ";  // 11 characters come back as 12
  EXPECT_EQ(back, p);
}

struct AccountingCase {
  std::array<uint8_t, 4> bytes;
  const char* text;
};

class Zhrm15AccountingTest : public ::testing::TestWithParam<AccountingCase> {};

TEST_P(Zhrm15AccountingTest, LeastSignificantByteFirst) {
  EXPECT_EQ(DecodeZhrm15Accounting(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, Zhrm15AccountingTest,
                         ::testing::Values(AccountingCase{{0x00, 0x15, 0x00, 0x00}, "1.500"},
                                           AccountingCase{{0x00, 0x00, 0x00, 0x00}, "0.000"},
                                           AccountingCase{{0x45, 0x23, 0x01, 0x00}, "12.345"},
                                           AccountingCase{{0x99, 0x99, 0x99, 0x99}, "99999.999"},
                                           AccountingCase{{0x05, 0x00, 0x00, 0x00}, "0.005"}));

}  // namespace
}  // namespace zel
