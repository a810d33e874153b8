#include "devices/zhrm15_record.h"

#include <algorithm>

#include "devices/field_codecs.h"

namespace zel {

void EncodeZhrm15Record(const ProductRecord& record, Zhrm15Model model,
                        std::span<uint8_t, kZhrm15RecordBytes> out) {
  std::fill(out.begin(), out.end(), 0);
  const IndexedBarcode barcode = EncodeIndexedBarcode(record.barcode);
  std::copy(barcode.digits.begin(), barcode.digits.end(), out.begin() + kZhrm15BarcodeOffset);
  out[kZhrm15IndexOffset] = barcode.index;
  uint8_t weighed = 0;
  if (model == Zhrm15Model::Weighed) ParseByteValue(record.column6, weighed);
  out[kZhrm15WeighedOffset] = weighed;
  const auto price = EncodePriceBcd(record.price);
  std::copy(price.begin(), price.end(), out.begin() + kZhrm15PriceOffset);
  EncodeDeviceName(record.name, out.subspan(kZhrm15NameOffset, kZhrm15NameBytes));
  uint8_t section = 0;
  ParseByteValue(record.section, section);
  out[kZhrm15SectionOffset] = section;
}

ProductRecord DecodeZhrm15Record(std::span<const uint8_t, kZhrm15RecordBytes> in,
                                 Zhrm15Model model) {
  ProductRecord r;
  r.barcode = DecodeIndexedBarcode(in.subspan(kZhrm15BarcodeOffset, 12), in[kZhrm15IndexOffset]);
  r.column6 = model == Zhrm15Model::Weighed ? std::to_string(in[kZhrm15WeighedOffset]) : "0";
  r.price = DecodePriceBcd(in.subspan(kZhrm15PriceOffset, 5));
  r.name = DecodeDeviceName(in.subspan(kZhrm15NameOffset, kZhrm15NameBytes));
  r.section = std::to_string(in[kZhrm15SectionOffset]);
  return r;
}

std::string DecodeZhrm15Accounting(std::span<const uint8_t, kZhrm15AccountingBytes> bytes) {
  uint64_t thousandths = 0;
  for (int i = 3; i >= 0; --i) {
    thousandths = thousandths * 10 + (bytes[i] >> 4);
    thousandths = thousandths * 10 + (bytes[i] & 0x0F);
  }
  return FormatThousandths(thousandths);
}

}  // namespace zel
