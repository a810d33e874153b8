// The 16-byte last-barcode answer of ЖРМ 1.5 / 1.5в / 2.0.
#include "devices/barcode_answer16.h"

#include <gtest/gtest.h>

#include <array>

namespace zel {
namespace {

using Answer = std::array<uint8_t, kBarcodeAnswer16Bytes>;

// "1234567" from index 5, check word 0xFD9E.
const Answer kSevenDigits = {0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32, 0x33,
                             0x34, 0x35, 0x36, 0x37, 0x00, 0x05, 0x9E, 0xFD};

TEST(BarcodeAnswer16, IndexFiveShowsSevenCharacters) {
  LastBarcode out;
  ASSERT_TRUE(DecodeBarcodeAnswer16(kSevenDigits, out));
  EXPECT_EQ(out.code, "1234567");
  EXPECT_FALSE(out.fullTwelve);
}

TEST(BarcodeAnswer16, CheckWordOffByOneIsIgnored) {
  Answer a = kSevenDigits;
  a[14] = 0x9F;
  LastBarcode out{"previous", true};
  EXPECT_FALSE(DecodeBarcodeAnswer16(a, out));
  EXPECT_EQ(out.code, "previous");
}

TEST(BarcodeAnswer16, IndexZeroIsFullTwelve) {
  // "200123450000", sum 0x251, check word 0xFDAE.
  const Answer a = {0x32, 0x30, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35,
                    0x30, 0x30, 0x30, 0x30, 0x00, 0x00, 0xAE, 0xFD};
  LastBarcode out;
  ASSERT_TRUE(DecodeBarcodeAnswer16(a, out));
  EXPECT_EQ(out.code, "200123450000");
  EXPECT_TRUE(out.fullTwelve);
}

TEST(BarcodeAnswer16, IndexAboveElevenIsEmpty) {
  // Twelve "0", index 12: sum 0x24C, check word 0xFDB3.
  const Answer a = {0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30,
                    0x30, 0x30, 0x30, 0x30, 0x00, 0x0C, 0xB3, 0xFD};
  LastBarcode out{"previous", true};
  ASSERT_TRUE(DecodeBarcodeAnswer16(a, out));
  EXPECT_EQ(out.code, "");
  EXPECT_FALSE(out.fullTwelve);
}

TEST(BarcodeAnswer16, AllZeroAnswerMeansNothingScanned) {
  const Answer a = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  LastBarcode out{"previous", true};
  ASSERT_TRUE(DecodeBarcodeAnswer16(a, out));
  EXPECT_EQ(out.code, "");
  EXPECT_FALSE(out.fullTwelve);
}

TEST(BarcodeAnswer16, NonDigitCharactersAreRejected) {
  // "12A" from index 9: 9 x 0x00, then 0x31 0x32 0x41; sum 0xAD, check 0xFF52.
  const Answer a = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x31, 0x32, 0x41, 0x00, 0x09, 0x52, 0xFF};
  LastBarcode out{"previous", true};
  EXPECT_FALSE(DecodeBarcodeAnswer16(a, out));
  EXPECT_EQ(out.code, "previous");
}

}  // namespace
}  // namespace zel
