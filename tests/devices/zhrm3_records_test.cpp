// Record layouts of ЖРМ 3 / 3+ and ЖРМ 200, the BCD accounting value, the
// control-tape replies and the 13-byte barcode answer. Expected bytes are
// typed from the record tables.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/accounting_bcd.h"
#include "devices/barcode_answer13.h"
#include "devices/control_tape.h"
#include "devices/zhrm200_record.h"
#include "devices/zhrm3_record.h"
#include "link/frames.h"
#include "support/varied_products.h"

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::Row;

Bytes EncodeZhrm3(const ProductRecord& r) {
  std::array<uint8_t, kZhrm3RecordBytes> out{};
  EncodeZhrm3Record(r, out);
  return Bytes(out.begin(), out.end());
}

ProductRecord DecodeZhrm3(const Bytes& in) {
  return DecodeZhrm3Record(std::span<const uint8_t, kZhrm3RecordBytes>(in.data(), in.size()));
}

Bytes EncodeZhrm200(const ProductRecord& r) {
  std::array<uint8_t, kZhrm200RecordBytes> out{};
  EncodeZhrm200Record(r, out);
  return Bytes(out.begin(), out.end());
}

ProductRecord DecodeZhrm200(const Bytes& in) {
  return DecodeZhrm200Record(std::span<const uint8_t, kZhrm200RecordBytes>(in.data(), in.size()));
}

const Bytes kZhrm3Bread = {
    0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32, 0x33,  // barcode 123
    0x01,                                                                    // weighed
    0x09,                                                                    // index
    0x00, 0x00, 0x00, 0x12, 0x50,                                            // 12.50
    0x68, 0x6C, 0x65, 0x62, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // ХЛЕБ
    0x03};                                                                   // section

TEST(Zhrm3Record, EncodesEveryField) {
  EXPECT_EQ(EncodeZhrm3(Row("Хлеб", "12.50", "3", "123", "1")), kZhrm3Bread);
}

TEST(Zhrm3Record, DecodesEveryField) {
  const ProductRecord r = DecodeZhrm3(kZhrm3Bread);
  EXPECT_EQ(r.barcode, "123");
  EXPECT_EQ(r.column6, "1");
  EXPECT_EQ(r.price, "12.50");
  EXPECT_EQ(r.name, "ХЛЕБ        ");
  EXPECT_EQ(r.section, "3");
}

TEST(Zhrm3Record, WeighedFlagOnlyForExactlyOne) {
  for (const char* text : {"0", "2", "01", "", "1 "}) {
    EXPECT_EQ(EncodeZhrm3(Row("", "0.00", "1", "", text))[12], 0x00) << text;
  }
}

TEST(Zhrm3Record, NoBarcodeIsZeroBytesAndReadsEmpty) {
  const Bytes b = EncodeZhrm3(Row("", "0.00", "1", "нет товара"));
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 14), Bytes(14, 0x00));
  EXPECT_EQ(DecodeZhrm3(b).barcode, "");
}

TEST(Zhrm3Record, BarcodeReadsFromFirstNonZeroCharacter) {
  Bytes b(32, 0);
  const std::string digits = "000046012345";
  std::copy(digits.begin(), digits.end(), b.begin());
  EXPECT_EQ(DecodeZhrm3(b).barcode, "46012345");
  std::fill_n(b.begin(), 12, '0');
  EXPECT_EQ(DecodeZhrm3(b).barcode, "") << "twelve zeros";
  b[0] = '5';
  b[1] = 0x00;
  EXPECT_EQ(DecodeZhrm3(b).barcode, "") << "byte 1 zero means none";
}

TEST(Zhrm3Record, PriceReadsSevenDigitsIgnoringTopNibble) {
  Bytes b(32, 0);
  const Bytes price = {0xF9, 0x99, 0x99, 0x99, 0x99};
  std::copy(price.begin(), price.end(), b.begin() + 14);
  EXPECT_EQ(DecodeZhrm3(b).price, "9999999.99");
}

TEST(Zhrm3Record, LongNameKeepsTwelveCharacters) {
  const Bytes b = EncodeZhrm3(Row("ABCDEFGHIJKLMN", "0.00", "1", ""));
  EXPECT_EQ(Bytes(b.begin() + 19, b.begin() + 31),
            (Bytes{0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C}));
  EXPECT_EQ(DecodeZhrm3(b).name, "ABCDEFGHIJKL");
}

TEST(Zhrm200Record, EncodesEveryField) {
  const Bytes expected = {
      0x34, 0x36, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39,  // first 12
      0x83,                                                                    // section 3, weighed
      0x19,                                                                    // group 25
      0x00, 0x00, 0x12, 0x50,                                                  // 12.50
      0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C,  // 12 of 17
      0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(EncodeZhrm200(Row("ABCDEFGHIJKLMNOPQ", "12.50", "3", "4601234567890", "25", "1")),
            expected);
}

TEST(Zhrm200Record, ByteTwelveHoldsSectionAndWeighedFlag) {
  Bytes b(35, 0);
  b[12] = 0x83;
  b[13] = 0x07;
  const ProductRecord r = DecodeZhrm200(b);
  EXPECT_EQ(r.section, "3");
  EXPECT_EQ(r.column7, "1");
  EXPECT_EQ(r.column6, "7");
}

TEST(Zhrm200Record, SeventeenCharacterNameKeepsTwelve) {
  const Bytes b = EncodeZhrm200(Row("ABCDEFGHIJKLMNOPQ", "0.00", "1", ""));
  EXPECT_EQ(DecodeZhrm200(b).name, "ABCDEFGHIJKL     ");
}

TEST(Zhrm200Record, CyrillicNameIsTranslatedOnce) {
  const Bytes b = EncodeZhrm200(Row("Хлеб", "0.00", "1", ""));
  EXPECT_EQ(Bytes(b.begin() + 18, b.begin() + 23), (Bytes{0x68, 0x6C, 0x65, 0x62, 0x00}));
}

TEST(Zhrm200Record, NoBarcodeIsTwelveZeroCharacters) {
  for (const char* none : {"", "нет товара"}) {
    const Bytes b = EncodeZhrm200(Row("", "0.00", "1", none));
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 12), Bytes(12, 0x30)) << none;
    EXPECT_EQ(DecodeZhrm200(b).barcode, "");
  }
}

TEST(Zhrm200Record, PriceIsSixDigitsWithoutP0) {
  const Bytes b = EncodeZhrm200(Row("", "999999.99", "0", "", "0", "0"));
  EXPECT_EQ(Bytes(b.begin() + 12, b.begin() + 18), (Bytes{0x00, 0x00, 0x99, 0x99, 0x99, 0x99}));
  EXPECT_EQ(DecodeZhrm200(b).price, "999999.99");
}

TEST(AccountingBcd, ReadsFiveIntegerAndThreeDecimalDigits) {
  struct Case {
    std::array<uint8_t, 4> bytes;
    const char* text;
  };
  const Case cases[] = {{{0x00, 0x00, 0x15, 0x00}, "1.500"},
                        {{0x00, 0x00, 0x00, 0x00}, "0.000"},
                        {{0x00, 0x00, 0x00, 0x05}, "0.005"},
                        {{0x00, 0x12, 0x34, 0x56}, "123.456"},
                        {{0x99, 0x99, 0x99, 0x99}, "99999.999"}};
  for (const Case& c : cases) EXPECT_EQ(DecodeAccountingBcd(c.bytes), c.text);
}

TEST(TapeBlockInfo, EndMarkEndsTheList) {
  const std::array<uint8_t, 7> d = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_TRUE(DecodeTapeBlockInfo(d).endOfList);
}

TEST(TapeBlockInfo, CurrentBlockHasCountAndNoDate) {
  const std::array<uint8_t, 7> d = {0xFF, 0x00, 0x05, 0x12, 0x00, 0x0C, 0x01};
  const TapeBlockInfo info = DecodeTapeBlockInfo(d);
  EXPECT_FALSE(info.endOfList);
  EXPECT_TRUE(info.current);
  EXPECT_EQ(info.date, "");
  EXPECT_EQ(info.purchases, 268);
}

TEST(TapeBlockInfo, ClosedBlockHasNumberDateAndCount) {
  const std::array<uint8_t, 7> d = {0x05, 0x01, 0x05, 0x12, 0x00, 0x2C, 0x01};
  const TapeBlockInfo info = DecodeTapeBlockInfo(d);
  EXPECT_FALSE(info.current);
  EXPECT_EQ(info.tapeNumber, 261);
  EXPECT_EQ(info.date, "05.12.00");
  EXPECT_EQ(info.purchases, 300);
}

TEST(TapePurchase, HighBitMarksAReturn) {
  const std::array<uint8_t, 5> ret = {0x80, 0x05, 0x00, 0x15, 0x00};
  const TapePurchase r = DecodeTapePurchase(ret);
  EXPECT_TRUE(r.isReturn);
  EXPECT_EQ(r.productNumber, 6);
  EXPECT_EQ(r.quantity, "1.500");
  const std::array<uint8_t, 5> sale = {0x00, 0x05, 0x00, 0x15, 0x00};
  EXPECT_FALSE(DecodeTapePurchase(sale).isReturn);
  EXPECT_EQ(DecodeTapePurchase(sale).productNumber, 6);
}

TEST(TapePurchase, QuantityLosesAtMostTwoLeadingZeros) {
  struct Case {
    std::array<uint8_t, 3> bcd;
    const char* text;
  };
  const Case cases[] = {{{0x00, 0x15, 0x00}, "1.500"},
                        {{0x00, 0x02, 0x50}, "0.250"},
                        {{0x01, 0x23, 0x45}, "12.345"},
                        {{0x12, 0x30, 0x00}, "123.000"}};
  for (const Case& c : cases) EXPECT_EQ(TapeQuantityText(c.bcd), c.text);
}

std::array<uint8_t, 13> Answer13(const std::string& chars) {
  std::array<uint8_t, 13> a{};
  std::copy(chars.begin(), chars.end(), a.begin());
  a[12] = Checksum8(std::span(a).first(12));
  return a;
}

TEST(BarcodeAnswer13, LeadingZerosAreDropped) {
  LastBarcode out;
  ASSERT_TRUE(DecodeBarcodeAnswer13(Answer13("000046012345"), out));
  EXPECT_EQ(out.code, "46012345");
  EXPECT_FALSE(out.fullTwelve);
  ASSERT_TRUE(DecodeBarcodeAnswer13(Answer13("201234500000"), out));
  EXPECT_EQ(out.code, "201234500000");
  EXPECT_TRUE(out.fullTwelve);
}

TEST(BarcodeAnswer13, TwelveZerosIsNoBarcode) {
  LastBarcode out{"old", true};
  ASSERT_TRUE(DecodeBarcodeAnswer13(Answer13("000000000000"), out));
  EXPECT_EQ(out.code, "");
}

TEST(BarcodeAnswer13, WrongCheckOrNonDigitLeavesOutUnchanged) {
  LastBarcode out{"old", true};
  auto a = Answer13("000046012345");
  a[12] ^= 0x01;
  EXPECT_FALSE(DecodeBarcodeAnswer13(a, out));
  EXPECT_FALSE(DecodeBarcodeAnswer13(Answer13("0000460123A5"), out));
  EXPECT_EQ(out.code, "old");
}

}  // namespace
}  // namespace zel
