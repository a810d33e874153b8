#include "devices/register_record.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/cp1251.h"
#include "devices/field_codecs.h"

namespace zel {
namespace {

bool HasFF(std::span<const uint8_t> bytes) {
  return std::find(bytes.begin(), bytes.end(), 0xFF) != bytes.end();
}

// The name is cp1251 as it stands; only control bytes become blanks, so a
// damaged record cannot put line breaks into a cell or a file.
std::string DecodeName(std::span<const uint8_t> field) {
  std::string cp(field.begin(), field.end());
  for (char& c : cp) {
    if (static_cast<uint8_t>(c) < 0x20) c = ' ';
  }
  return Cp1251ToUtf8(cp);
}

}  // namespace

// The price goes through the shared encoder: for a "0.00" text it gives the
// same bytes as packing the digits of the text padded to IIIIII.FF, and a
// text with one decimal ("12.5") still means 12.50 instead of shifting digits.
void EncodeRegisterRecord(const ProductRecord& record,
                          std::span<uint8_t, kRegisterRecordBytes> out) {
  std::fill(out.begin(), out.end(), 0);
  const auto barcode = EncodePackedBarcode(record.barcode);
  std::copy(barcode.begin(), barcode.end(), out.begin() + kRegisterBarcodeOffset);
  out[kRegisterConstantOffset] = kRegisterConstantValue;
  std::string name = Utf8ToCp1251(record.name);
  name.resize(kRegisterNameBytes, ' ');
  std::copy(name.begin(), name.end(), out.begin() + kRegisterNameOffset);
  const auto price = EncodePriceBcd(record.price);
  std::copy(price.begin() + 1, price.end(), out.begin() + kRegisterPriceOffset);
  uint8_t value = 0;
  ParseByteValue(record.section, value);
  out[kRegisterSectionOffset] = value;
  ParseByteValue(record.column6, value);
  out[kRegisterGroupOffset] = value;
}

bool IsInvalidRegisterRecord(std::span<const uint8_t, kRegisterRecordBytes> in) {
  return HasFF(in.subspan(kRegisterBarcodeOffset, kRegisterBarcodeBytes)) ||
         HasFF(in.subspan(kRegisterPriceOffset, 6));
}

ProductRecord DecodeRegisterRecord(std::span<const uint8_t, kRegisterRecordBytes> in) {
  ProductRecord r;
  if (IsInvalidRegisterRecord(in)) {
    r.price = "0.00";
    r.name = std::string(kInvalidRecordName);
    r.section = "1";
    r.column6 = "0";
    return r;
  }
  r.barcode = DecodePackedBarcode(in.subspan(kRegisterBarcodeOffset, kRegisterBarcodeBytes));
  r.name = DecodeName(in.subspan(kRegisterNameOffset, kRegisterNameBytes));
  std::array<uint8_t, 5> price{};
  std::copy_n(in.begin() + kRegisterPriceOffset, kRegisterPriceBytes, price.begin() + 1);
  r.price = DecodePriceBcd(price);
  r.section = std::to_string(in[kRegisterSectionOffset]);
  r.column6 = std::to_string(in[kRegisterGroupOffset]);
  return r;
}

}  // namespace zel
