#include "devices/zhrm200_record.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/cp1251.h"
#include "devices/field_codecs.h"
#include "devices/zhrm3_record.h"

namespace zel {
namespace {

constexpr std::size_t kBarcodeChars = 12;

// "нет товара" means no barcode here as everywhere else: its letters would
// otherwise reach the terminal as a barcode.
void EncodeBarcode(std::string_view barcode, std::span<uint8_t> out12) {
  std::fill_n(out12.begin(), kBarcodeChars, '0');
  if (IsNoBarcode(barcode)) return;
  std::string cp = Utf8ToCp1251(barcode);
  if (cp.size() > kBarcodeChars) cp.resize(kBarcodeChars);
  std::copy(cp.begin(), cp.end(), out12.begin() + (kBarcodeChars - cp.size()));
}

}  // namespace

void EncodeZhrm200Record(const ProductRecord& record, std::span<uint8_t, kZhrm200RecordBytes> out) {
  std::fill(out.begin(), out.end(), 0);
  EncodeBarcode(record.barcode, out.subspan(kZhrm200BarcodeOffset, kBarcodeChars));
  uint8_t section = 0;
  ParseByteValue(record.section, section);
  const uint8_t weighed = !record.column7.empty() && record.column7[0] == '1' ? 0x80 : 0x00;
  out[kZhrm200SectionOffset] = static_cast<uint8_t>((section & kZhrm200MaxSection) | weighed);
  uint8_t group = 0;
  ParseByteValue(record.column6, group);
  out[kZhrm200GroupOffset] = group;
  const auto price = EncodePriceBcd(record.price);
  std::copy(price.begin() + 1, price.end(), out.begin() + kZhrm200PriceOffset);
  // The five bytes beyond the written characters stay 0x00, which the
  // translation leaves alone.
  EncodeDeviceName(record.name, out.subspan(kZhrm200NameOffset, kZhrm200NameCharsWritten));
}

ProductRecord DecodeZhrm200Record(std::span<const uint8_t, kZhrm200RecordBytes> in) {
  ProductRecord r;
  r.barcode = DecodeZeroFilledBarcode(in.subspan(kZhrm200BarcodeOffset, kBarcodeChars));
  r.section = std::to_string(in[kZhrm200SectionOffset] & kZhrm200MaxSection);
  r.column7 = std::to_string(in[kZhrm200SectionOffset] >> 7);
  r.column6 = std::to_string(in[kZhrm200GroupOffset]);
  std::array<uint8_t, 5> price{};
  std::copy_n(in.begin() + kZhrm200PriceOffset, kZhrm200PriceBytes, price.begin() + 1);
  r.price = DecodePriceBcd(price);
  r.name = DecodeDeviceName(in.subspan(kZhrm200NameOffset, kZhrm200NameBytes));
  return r;
}

}  // namespace zel
