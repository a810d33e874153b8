#include "devices/register_driver.h"

#include <algorithm>

#include "common/cp1251.h"
#include "devices/accounting_bcd.h"
#include "devices/field_codecs.h"
#include "devices/register_commands.h"
#include "devices/register_record.h"

namespace zel {
namespace {

constexpr int kMaxPriceDigits = 6;

}  // namespace

bool RegisterDriver::ReadProducts(uint16_t first, std::span<ProductRecord> out) {
  if (out.size() != 1 || first >= kCapacity || !RegisterReadRecord(link_, first)) return false;
  out[0] = DecodeRegisterRecord(std::span(link_.Buffers().main).first<kRegisterRecordBytes>());
  return true;
}

bool RegisterDriver::WriteProducts(uint16_t first, std::span<const ProductRecord> in) {
  if (in.size() != 1 || first >= kCapacity) return false;
  auto& main = link_.Buffers().main;
  std::fill_n(main.begin(), kRegisterWriteAreaBytes, 0);
  EncodeRegisterRecord(in[0], std::span(main).first<kRegisterRecordBytes>());
  return RegisterWriteRecord(link_, first);
}

std::string RegisterDriver::CheckEncodable(const ProductRecord& record) const {
  uint8_t value = 0;
  if (!IsEncodablePrice(record.price, kMaxPriceDigits)) return "Стоимость";
  if (!ParseByteValue(record.section, value)) return "Отдел";
  if (!IsEncodableBarcode(record.barcode)) return "Штрих-код";
  if (!ParseByteValue(record.column6, value)) return "Тов. группа";
  return {};
}

bool RegisterDriver::ReadAccounting(uint16_t record, std::string& quantity) {
  if (record >= kCapacity || !RegisterReadAccounting(link_, record)) return false;
  quantity = DecodeAccountingBcd(std::span(link_.Buffers().main).first<kAccountingBcdBytes>());
  return true;
}

bool RegisterDriver::ResetAccounting(uint16_t record) {
  return record < kCapacity && RegisterResetAccounting(link_, record);
}

// Control bytes show as '?', so a damaged answer cannot put line breaks
// into the barcode cell. Twelve 0x00 or twelve "0" carry no barcode, as
// the record's barcode 0 does.
bool RegisterDriver::ReadLastBarcode(LastBarcode& out) {
  if (!RegisterReadLastBarcode(link_)) return false;
  const auto chars = std::span(link_.Buffers().main).first<kRegisterBarcodeChars>();
  const auto same = [&chars](uint8_t c) {
    return std::all_of(chars.begin(), chars.end(), [c](uint8_t b) { return b == c; });
  };
  std::string cp(chars.begin(), chars.end());
  for (char& c : cp) {
    if (static_cast<uint8_t>(c) < 0x20) c = '?';
  }
  out.code = same(0x00) || same('0') ? std::string() : Cp1251ToUtf8(cp);
  out.fullTwelve = !out.code.empty();
  return true;
}

}  // namespace zel
