#include "devices/zhrm3_record.h"

#include <algorithm>

#include "common/cp1251.h"
#include "devices/field_codecs.h"

namespace zel {
namespace {

constexpr std::size_t kBarcodeChars = 12;

}  // namespace

void EncodeZhrm3Record(const ProductRecord& record, std::span<uint8_t, kZhrm3RecordBytes> out) {
  std::fill(out.begin(), out.end(), 0);
  const IndexedBarcode barcode = EncodeIndexedBarcode(record.barcode);
  std::copy(barcode.digits.begin(), barcode.digits.end(), out.begin() + kZhrm3BarcodeOffset);
  out[kZhrm3IndexOffset] = barcode.index;
  out[kZhrm3WeighedOffset] = record.column6 == "1" ? 1 : 0;
  const auto price = EncodePriceBcd(record.price);
  std::copy(price.begin(), price.end(), out.begin() + kZhrm3PriceOffset);
  EncodeDeviceName(record.name, out.subspan(kZhrm3NameOffset, kZhrm3NameBytes));
  uint8_t section = 0;
  ParseByteValue(record.section, section);
  out[kZhrm3SectionOffset] = section;
}

ProductRecord DecodeZhrm3Record(std::span<const uint8_t, kZhrm3RecordBytes> in) {
  ProductRecord r;
  r.barcode = DecodeZeroFilledBarcode(in.subspan(kZhrm3BarcodeOffset, kBarcodeChars));
  r.column6 = std::to_string(in[kZhrm3WeighedOffset]);
  r.price = DecodePriceBcd(in.subspan(kZhrm3PriceOffset, 5));
  r.name = DecodeDeviceName(in.subspan(kZhrm3NameOffset, kZhrm3NameBytes));
  r.section = std::to_string(in[kZhrm3SectionOffset]);
  return r;
}

// Control bytes show as '?', so a damaged record cannot put line breaks
// into a cell.
std::string DecodeZeroFilledBarcode(std::span<const uint8_t> chars12) {
  if (chars12.size() < kBarcodeChars || chars12[1] == 0) return {};
  const auto chars = chars12.first(kBarcodeChars);
  const auto first = std::find_if(chars.begin(), chars.end(), [](uint8_t c) { return c != '0'; });
  std::string cp(first, chars.end());
  for (char& c : cp) {
    if (static_cast<uint8_t>(c) < 0x20) c = '?';
  }
  return Cp1251ToUtf8(cp);
}

}  // namespace zel
