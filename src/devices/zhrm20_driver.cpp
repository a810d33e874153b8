#include "devices/zhrm20_driver.h"

#include <algorithm>
#include <array>

#include "devices/barcode_answer16.h"
#include "devices/field_codecs.h"
#include "devices/zhrm20_commands.h"
#include "devices/zhrm20_record.h"

namespace zel {
namespace {

constexpr int kMaxPriceDigits = 7;
constexpr int kBarcodeAnswerIdleMs = 50;

}  // namespace

bool Zhrm20Driver::ReadProducts(uint16_t first, std::span<ProductRecord> out) {
  lastReadFault_ = ReadFault::None;
  if (out.size() != 1) return false;
  uint8_t status = 0;
  if (!Zhrm20ReadRecord(link_, first, &status)) {
    if (status == kZhrm20StatusCorrupt) lastReadFault_ = ReadFault::CorruptBase;
    return false;
  }
  out[0] = DecodeZhrm20Record(std::span(link_.Buffers().main).subspan<1, kZhrm20RecordBytes>());
  return true;
}

bool Zhrm20Driver::WriteProducts(uint16_t first, std::span<const ProductRecord> in) {
  if (in.size() != 1) return false;
  auto& main = link_.Buffers().main;
  std::fill_n(main.begin(), kZhrm20WriteAreaBytes, 0);
  EncodeZhrm20Record(in[0], std::span(main).first<kZhrm20RecordBytes>());
  return Zhrm20WriteRecord(link_, first);
}

std::string Zhrm20Driver::CheckEncodable(const ProductRecord& record) const {
  uint8_t section = 0;
  if (!IsEncodablePrice(record.price, kMaxPriceDigits)) return "Стоимость";
  if (!ParseByteValue(record.section, section)) return "Отдел";
  if (!IsEncodableBarcode(record.barcode)) return "Штрих-код";
  return {};
}

bool Zhrm20Driver::ReadAccounting(uint16_t record, std::string& quantity) {
  if (!Zhrm20ReadAccounting(link_, record)) return false;
  const auto& reply = link_.Buffers().accounting;
  quantity = DecodeZhrm20Accounting(std::span(reply).subspan<1, kZhrm20AccountingBytes>());
  return true;
}

bool Zhrm20Driver::ResetAccounting(uint16_t record) {
  return Zhrm20ResetAccounting(link_, record);
}

bool Zhrm20Driver::ReadLastBarcode(LastBarcode& out) {
  if (!Zhrm20RequestLastBarcode(link_)) return false;
  std::array<uint8_t, kBarcodeAnswer16Bytes> answer{};
  if (!link_.ReadWithTimeout(answer, answer.size(), kBarcodeAnswerIdleMs)) return false;
  return DecodeBarcodeAnswer16(answer, out);
}

bool Zhrm20Driver::LockRegister() {
  return Zhrm20LockRegister(link_);
}

bool Zhrm20Driver::UnlockRegister() {
  return Zhrm20UnlockRegister(link_);
}

}  // namespace zel
