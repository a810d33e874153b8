#include "devices/zhrm20_record.h"

#include <algorithm>

#include "devices/field_codecs.h"

namespace zel {

void EncodeZhrm20Record(const ProductRecord& record, std::span<uint8_t, kZhrm20RecordBytes> out) {
  std::fill(out.begin(), out.end(), 0);
  const auto barcode = EncodePackedBarcode(record.barcode);
  std::copy(barcode.begin(), barcode.end(), out.begin() + kZhrm20BarcodeOffset);
  const auto price = EncodePriceBcd(record.price);
  std::copy(price.begin(), price.end(), out.begin() + kZhrm20PriceOffset);
  uint8_t section = 0;
  ParseByteValue(record.section, section);
  out[kZhrm20SectionOffset] = section;
  EncodeDeviceName(record.name, out.subspan(kZhrm20NameOffset, kZhrm20NameBytes));
}

ProductRecord DecodeZhrm20Record(std::span<const uint8_t, kZhrm20RecordBytes> in) {
  ProductRecord r;
  r.barcode = DecodePackedBarcode(in.subspan(kZhrm20BarcodeOffset, 6));
  r.price = DecodePriceBcd(in.subspan(kZhrm20PriceOffset, 5));
  r.section = std::to_string(in[kZhrm20SectionOffset]);
  r.name = DecodeDeviceName(in.subspan(kZhrm20NameOffset, kZhrm20NameBytes));
  return r;
}

std::string DecodeZhrm20Accounting(std::span<const uint8_t, kZhrm20AccountingBytes> bytes) {
  uint64_t thousandths = 0;
  for (uint8_t b : bytes) thousandths = (thousandths << 8) | b;
  return FormatThousandths(thousandths);
}

}  // namespace zel
