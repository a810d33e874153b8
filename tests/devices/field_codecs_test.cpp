// Shared field encodings: prices, name characters, barcode forms.
#include "devices/field_codecs.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;

template <typename Container>
Bytes ToBytes(const Container& c) {
  return Bytes(c.begin(), c.end());
}

struct PriceCase {
  const char* text;
  Bytes bcd;
};

class EncodePriceBcdTest : public ::testing::TestWithParam<PriceCase> {};

TEST_P(EncodePriceBcdTest, GivesFivePackedBytes) {
  EXPECT_EQ(ToBytes(EncodePriceBcd(GetParam().text)), GetParam().bcd) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Prices, EncodePriceBcdTest,
                         ::testing::Values(PriceCase{"0.00", {0x00, 0x00, 0x00, 0x00, 0x00}},
                                           PriceCase{"9999999.99", {0x09, 0x99, 0x99, 0x99, 0x99}},
                                           PriceCase{"12,30", {0x00, 0x00, 0x00, 0x12, 0x30}},
                                           PriceCase{"15", {0x00, 0x00, 0x00, 0x15, 0x00}},
                                           PriceCase{"1234.50", {0x00, 0x00, 0x12, 0x34, 0x50}},
                                           PriceCase{"5.07", {0x00, 0x00, 0x00, 0x05, 0x07}},
                                           PriceCase{"12.5", {0x00, 0x00, 0x00, 0x12, 0x50}},
                                           PriceCase{"", {0x00, 0x00, 0x00, 0x00, 0x00}},
                                           PriceCase{"99999999", {0x99, 0x99, 0x99, 0x99, 0x00}},
                                           // More than eight integer digits keep the last eight.
                                           PriceCase{"123456789012",
                                                     {0x56, 0x78, 0x90, 0x12, 0x00}}));

TEST(DecodePriceBcd, SevenIntegerDigitsAndTwoDecimals) {
  EXPECT_EQ(DecodePriceBcd(Bytes{0x00, 0x00, 0x12, 0x34, 0x50}), "1234.50");
  EXPECT_EQ(DecodePriceBcd(Bytes{0x00, 0x00, 0x00, 0x00, 0x00}), "0.00");
  EXPECT_EQ(DecodePriceBcd(Bytes{0x00, 0x00, 0x00, 0x00, 0x05}), "0.05");
}

TEST(DecodePriceBcd, IgnoresHighNibbleOfFirstByte) {
  EXPECT_EQ(DecodePriceBcd(Bytes{0x19, 0x99, 0x99, 0x99, 0x99}), "9999999.99");
}

TEST(DecodePriceBcd, ShortInputIsZero) {
  EXPECT_EQ(DecodePriceBcd(Bytes{0x12}), "0.00");
}

TEST(NameTranslation, CyrillicAndLatinToDeviceCharacters) {
  std::string cp = "\xD5\xEB\xE5\xE1 white";  // "Хлеб white" in cp1251
  cp.resize(12, '\0');
  Bytes bytes(cp.begin(), cp.end());
  TranslateNameToDevice(bytes);
  EXPECT_EQ(bytes, (Bytes{0x68, 0x6C, 0x65, 0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00}));
}

TEST(NameTranslation, DeviceCharactersBackAsCapitals) {
  Bytes bytes = {0x68, 0x6C, 0x65, 0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00};
  TranslateNameFromDevice(bytes);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "\xD5\xCB\xC5\xC1 WHITE  ");
}

TEST(NameTranslation, EveryCyrillicLetterComesBackAsItsCapital) {
  for (int i = 0; i < 32; ++i) {
    Bytes bytes = {static_cast<uint8_t>(0xC0 + i), static_cast<uint8_t>(0xE0 + i)};
    TranslateNameToDevice(bytes);
    EXPECT_EQ(bytes[0], bytes[1]) << i;
    EXPECT_GE(bytes[0], 0x60);
    EXPECT_LE(bytes[0], 0x7F);
    TranslateNameFromDevice(bytes);
    EXPECT_EQ(bytes[0], 0xC0 + i) << i;
  }
}

TEST(NameTranslation, TableEntriesAsTyped) {
  // Both tables in full, each typed on its own rather than derived from the
  // other, so a swap made the same way in both is caught.
  struct ToDevice {
    const char* letter;
    uint8_t capital;  // code page 1251; the small letter is capital + 0x20
    uint8_t device;
  };
  const ToDevice toDevice[] = {
      {"А", 0xC0, 0x61}, {"Б", 0xC1, 0x62}, {"В", 0xC2, 0x77}, {"Г", 0xC3, 0x67}, {"Д", 0xC4, 0x64},
      {"Е", 0xC5, 0x65}, {"Ж", 0xC6, 0x76}, {"З", 0xC7, 0x7A}, {"И", 0xC8, 0x69}, {"Й", 0xC9, 0x6A},
      {"К", 0xCA, 0x6B}, {"Л", 0xCB, 0x6C}, {"М", 0xCC, 0x6D}, {"Н", 0xCD, 0x6E}, {"О", 0xCE, 0x6F},
      {"П", 0xCF, 0x70}, {"Р", 0xD0, 0x72}, {"С", 0xD1, 0x73}, {"Т", 0xD2, 0x74}, {"У", 0xD3, 0x75},
      {"Ф", 0xD4, 0x66}, {"Х", 0xD5, 0x68}, {"Ц", 0xD6, 0x63}, {"Ч", 0xD7, 0x7E}, {"Ш", 0xD8, 0x7B},
      {"Щ", 0xD9, 0x7D}, {"Ъ", 0xDA, 0x7F}, {"Ы", 0xDB, 0x79}, {"Ь", 0xDC, 0x78}, {"Э", 0xDD, 0x7C},
      {"Ю", 0xDE, 0x60}, {"Я", 0xDF, 0x71},
  };
  ASSERT_EQ(std::size(toDevice), 32u);
  for (const ToDevice& e : toDevice) {
    Bytes bytes = {e.capital, static_cast<uint8_t>(e.capital + 0x20)};
    TranslateNameToDevice(bytes);
    EXPECT_EQ(bytes, (Bytes{e.device, e.device})) << e.letter;
  }

  struct FromDevice {
    uint8_t device;
    const char* letter;
    uint8_t capital;  // code page 1251
  };
  const FromDevice fromDevice[] = {
      {0x60, "Ю", 0xDE}, {0x61, "А", 0xC0}, {0x62, "Б", 0xC1}, {0x63, "Ц", 0xD6}, {0x64, "Д", 0xC4},
      {0x65, "Е", 0xC5}, {0x66, "Ф", 0xD4}, {0x67, "Г", 0xC3}, {0x68, "Х", 0xD5}, {0x69, "И", 0xC8},
      {0x6A, "Й", 0xC9}, {0x6B, "К", 0xCA}, {0x6C, "Л", 0xCB}, {0x6D, "М", 0xCC}, {0x6E, "Н", 0xCD},
      {0x6F, "О", 0xCE}, {0x70, "П", 0xCF}, {0x71, "Я", 0xDF}, {0x72, "Р", 0xD0}, {0x73, "С", 0xD1},
      {0x74, "Т", 0xD2}, {0x75, "У", 0xD3}, {0x76, "Ж", 0xC6}, {0x77, "В", 0xC2}, {0x78, "Ь", 0xDC},
      {0x79, "Ы", 0xDB}, {0x7A, "З", 0xC7}, {0x7B, "Ш", 0xD8}, {0x7C, "Э", 0xDD}, {0x7D, "Щ", 0xD9},
      {0x7E, "Ч", 0xD7}, {0x7F, "Ъ", 0xDA},
  };
  ASSERT_EQ(std::size(fromDevice), 32u);
  for (const FromDevice& e : fromDevice) {
    Bytes bytes = {e.device};
    TranslateNameFromDevice(bytes);
    EXPECT_EQ(bytes, (Bytes{e.capital})) << e.letter;
  }
}

TEST(NameTranslation, OtherBytesPassUnchanged) {
  Bytes bytes = {'0', '9', '-', 'A', 'Z', 0xA8, 0xB9, 0x00, '{'};  // ..., Ё, №, NUL, {
  TranslateNameToDevice(bytes);
  EXPECT_EQ(bytes, (Bytes{'0', '9', '-', 'A', 'Z', 0xA8, 0xB9, 0x00, '['}));
}

TEST(NameTranslation, ControlBytesFromDeviceBecomeBlanks) {
  Bytes bytes = {'A', 0x0D, 0x0A, 0x00, 0x09, 'B'};
  TranslateNameFromDevice(bytes);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "A    B");
}

TEST(DeviceName, Utf8NameCutToFieldAndTranslated) {
  Bytes field(12, 0xEE);
  EncodeDeviceName("Молоко пастеризованное", field);
  EXPECT_EQ(field, (Bytes{0x6D, 0x6F, 0x6C, 0x6F, 0x6B, 0x6F, 0x20, 0x70, 0x61, 0x73, 0x74, 0x65}));
}

TEST(DeviceName, ShortNameZeroFilled) {
  Bytes field(12, 0xEE);
  EncodeDeviceName("Хлеб white", field);
  EXPECT_EQ(field, (Bytes{0x68, 0x6C, 0x65, 0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00}));
}

TEST(DeviceName, DecodesToUtf8CapitalsWithTrailingBlanks) {
  const Bytes field = {0x68, 0x6C, 0x65, 0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00};
  EXPECT_EQ(DecodeDeviceName(field), "ХЛЕБ WHITE  ");
}

TEST(IndexedBarcode, ThirteenDigitsKeepFirstTwelveWithIndexZero) {
  const IndexedBarcode b = EncodeIndexedBarcode("4601234567890");
  EXPECT_EQ(ToBytes(b.digits),
            (Bytes{0x34, 0x36, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39}));
  EXPECT_EQ(b.index, 0);
}

TEST(IndexedBarcode, ShortBarcodeRightAlignedWithIndex) {
  const IndexedBarcode b = EncodeIndexedBarcode("123");
  EXPECT_EQ(ToBytes(b.digits),
            (Bytes{0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32, 0x33}));
  EXPECT_EQ(b.index, 9);
  EXPECT_EQ(DecodeIndexedBarcode(b.digits, b.index), "123");
}

TEST(IndexedBarcode, NoBarcodeIsAllZero) {
  for (const char* none : {"", "нет товара"}) {
    const IndexedBarcode b = EncodeIndexedBarcode(none);
    EXPECT_EQ(ToBytes(b.digits), Bytes(12, 0x00)) << none;
    EXPECT_EQ(b.index, 0) << none;
  }
}

TEST(IndexedBarcode, FirstByteZeroReadsEmptyWhateverTheIndex) {
  Bytes digits = {0x00, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32, 0x33};
  EXPECT_EQ(DecodeIndexedBarcode(digits, 9), "");
  EXPECT_EQ(DecodeIndexedBarcode(digits, 0), "");
}

TEST(IndexedBarcode, IndexAboveElevenReadsEmpty) {
  const Bytes digits(12, 0x31);
  EXPECT_EQ(DecodeIndexedBarcode(digits, 11), "1");
  EXPECT_EQ(DecodeIndexedBarcode(digits, 12), "");
  EXPECT_EQ(DecodeIndexedBarcode(digits, 0xFF), "");
}

TEST(IndexedBarcode, ShortInputReadsEmpty) {
  EXPECT_EQ(DecodeIndexedBarcode(Bytes{0x31, 0x32}, 0), "");
}

TEST(PackedBarcode, ThreeDigitsPackToSixBytes) {
  EXPECT_EQ(ToBytes(EncodePackedBarcode("201")), (Bytes{0x00, 0x00, 0x00, 0x00, 0x02, 0x01}));
}

TEST(PackedBarcode, ThirteenDigitsKeepFirstTwelve) {
  EXPECT_EQ(ToBytes(EncodePackedBarcode("4601234567890")),
            (Bytes{0x46, 0x01, 0x23, 0x45, 0x67, 0x89}));
}

TEST(PackedBarcode, NoBarcodeIsSixZeros) {
  EXPECT_EQ(ToBytes(EncodePackedBarcode("")), Bytes(6, 0x00));
  EXPECT_EQ(ToBytes(EncodePackedBarcode("нет товара")), Bytes(6, 0x00));
}

TEST(PackedBarcode, DecodesWithoutLeadingZeros) {
  EXPECT_EQ(DecodePackedBarcode(Bytes{0x00, 0x00, 0x00, 0x00, 0x02, 0x01}), "201");
  EXPECT_EQ(DecodePackedBarcode(Bytes{0x46, 0x01, 0x23, 0x45, 0x67, 0x89}), "460123456789");
  EXPECT_EQ(DecodePackedBarcode(Bytes(6, 0x00)), "");
}

TEST(BcdDigits, TwoDigitsOfAByte) {
  EXPECT_EQ(BcdDigits(0x12), "12");
  EXPECT_EQ(BcdDigits(0x09), "09");
  EXPECT_EQ(BcdDigits(0x3F), "3F");
}

TEST(FormatQuantity, ThousandthsAndCents) {
  EXPECT_EQ(FormatThousandths(1500), "1.500");
  EXPECT_EQ(FormatThousandths(0), "0.000");
  EXPECT_EQ(FormatThousandths(5), "0.005");
  EXPECT_EQ(FormatCents(123450), "1234.50");
  EXPECT_EQ(FormatCents(7), "0.07");
}

struct EncodableCase {
  const char* text;
  bool ok;
};

class EncodablePriceTest : public ::testing::TestWithParam<EncodableCase> {};

TEST_P(EncodablePriceTest, AcceptsOnlyExactPrices) {
  EXPECT_EQ(IsEncodablePrice(GetParam().text, 7), GetParam().ok) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Prices, EncodablePriceTest,
    ::testing::Values(EncodableCase{"0.00", true}, EncodableCase{"9999999.99", true},
                      EncodableCase{"12,5", true}, EncodableCase{"15", true},
                      EncodableCase{"", true}, EncodableCase{"00012.30", true},
                      EncodableCase{"10000000.00", false}, EncodableCase{"1.2.3", false},
                      EncodableCase{"12.345", false}, EncodableCase{"1a.00", false},
                      EncodableCase{"-1.00", false}, EncodableCase{" 1.00", false}));

TEST(EncodableBarcode, DigitsForThePackedFormAsciiForTheCharacterForms) {
  EXPECT_TRUE(IsEncodableBarcode(""));
  EXPECT_TRUE(IsEncodableBarcode("нет товара"));
  EXPECT_TRUE(IsEncodableBarcode("4601234567890"));
  EXPECT_FALSE(IsEncodableBarcode("12A4"));
  EXPECT_FALSE(IsEncodableBarcode(" 123"));
  EXPECT_TRUE(IsAsciiBarcode("AB-12 x~"));
  EXPECT_TRUE(IsAsciiBarcode("нет товара"));
  EXPECT_FALSE(IsAsciiBarcode("12Ж"));
  EXPECT_FALSE(IsAsciiBarcode("12\x7F"));
}

TEST(ParseByteValue, DigitsUpTo255) {
  uint8_t v = 9;
  EXPECT_TRUE(ParseByteValue("", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(ParseByteValue("255", v));
  EXPECT_EQ(v, 255);
  EXPECT_TRUE(ParseByteValue("0007", v));
  EXPECT_EQ(v, 7);
  EXPECT_FALSE(ParseByteValue("256", v));
  EXPECT_EQ(v, 0);
  EXPECT_FALSE(ParseByteValue("1x", v));
  EXPECT_FALSE(ParseByteValue("99999999999999999999", v));
}

}  // namespace
}  // namespace zel
