#include "base/base_record.h"

#include <algorithm>
#include <string>

#include "common/cp1251.h"

namespace zel {
namespace {

void PutField(BaseRecordBytes& out, BaseField field, const std::string& utf8) {
  const std::string bytes = Utf8ToCp1251(utf8);
  const std::size_t length = std::min(bytes.size(), field.width);
  out[field.offset] = static_cast<uint8_t>(length);
  std::copy_n(bytes.begin(), length, out.begin() + field.offset + 1);
}

std::string GetField(std::span<const uint8_t, kBaseRecordBytes> in, BaseField field) {
  const std::size_t length = std::min<std::size_t>(in[field.offset], field.width);
  const auto* first = reinterpret_cast<const char*>(in.data() + field.offset + 1);
  return Cp1251ToUtf8(std::string_view(first, length));
}

}  // namespace

BaseRecordBytes EncodeBaseRecord(const ProductRecord& record) {
  BaseRecordBytes out{};
  PutField(out, kBaseName, record.name);
  PutField(out, kBasePrice, record.price);
  PutField(out, kBaseSection, record.section);
  PutField(out, kBaseBarcode, record.barcode);
  PutField(out, kBaseAccounting, record.accounting);
  PutField(out, kBaseColumn6, record.column6);
  PutField(out, kBaseColumn7, record.column7);
  return out;
}

ProductRecord DecodeBaseRecord(std::span<const uint8_t, kBaseRecordBytes> bytes) {
  ProductRecord r;
  r.name = GetField(bytes, kBaseName);
  r.price = GetField(bytes, kBasePrice);
  r.section = GetField(bytes, kBaseSection);
  r.barcode = GetField(bytes, kBaseBarcode);
  r.accounting = GetField(bytes, kBaseAccounting);
  r.column6 = GetField(bytes, kBaseColumn6);
  r.column7 = GetField(bytes, kBaseColumn7);
  return r;
}

ProductRecord NewFileRecord() {
  return {"", "0.00", "1", "", "0.000", "1", "0"};
}

ProductRecord ClearedRecord() {
  return {"", "0.00", "1", "", "0.000", "0", "0"};
}

}  // namespace zel
