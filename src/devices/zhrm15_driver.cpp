#include "devices/zhrm15_driver.h"

#include <algorithm>
#include <array>

#include "devices/barcode_answer16.h"
#include "devices/field_codecs.h"
#include "devices/zhrm15_commands.h"

namespace zel {
namespace {

constexpr int kMaxPriceDigits = 7;
constexpr int kBarcodeAnswerDelayMs = 20;

bool IsBlockStep(uint16_t first, std::size_t records) {
  return first % kZhrm15RecordsPerBlock == 0 && records == kZhrm15RecordsPerBlock;
}

}  // namespace

bool Zhrm15Driver::ReadProducts(uint16_t first, std::span<ProductRecord> out) {
  if (!IsBlockStep(first, out.size())) return false;
  if (!Zhrm15ReadBlock(link_, static_cast<uint16_t>(first / kZhrm15RecordsPerBlock))) {
    return false;
  }
  const auto& main = link_.Buffers().main;
  for (std::size_t k = 0; k < kZhrm15RecordsPerBlock; ++k) {
    const auto record =
        std::span(main).subspan(1 + k * kZhrm15RecordBytes).first<kZhrm15RecordBytes>();
    out[k] = DecodeZhrm15Record(record, model_);
  }
  return true;
}

bool Zhrm15Driver::WriteProducts(uint16_t first, std::span<const ProductRecord> in) {
  if (!IsBlockStep(first, in.size())) return false;
  auto& main = link_.Buffers().main;
  std::fill_n(main.begin(), kZhrm15BlockBytes, 0);
  for (std::size_t k = 0; k < kZhrm15RecordsPerBlock; ++k) {
    const auto record = std::span(main).subspan(k * kZhrm15RecordBytes).first<kZhrm15RecordBytes>();
    EncodeZhrm15Record(in[k], model_, record);
  }
  return Zhrm15WriteBlock(link_, static_cast<uint16_t>(first / kZhrm15RecordsPerBlock));
}

std::string Zhrm15Driver::CheckEncodable(const ProductRecord& record) const {
  uint8_t value = 0;
  if (!IsEncodablePrice(record.price, kMaxPriceDigits)) return "Стоимость";
  if (!ParseByteValue(record.section, value)) return "Отдел";
  if (!IsAsciiBarcode(record.barcode)) return "Штрих-код";
  if (model_ == Zhrm15Model::Weighed && !ParseByteValue(record.column6, value)) return "Весы";
  return {};
}

bool Zhrm15Driver::ReadAccounting(uint16_t record, std::string& quantity) {
  if (!Zhrm15ReadAccounting(link_, record, 1)) return false;
  const auto& reply = link_.Buffers().accounting;
  quantity = DecodeZhrm15Accounting(std::span(reply).subspan<1, kZhrm15AccountingBytes>());
  return true;
}

bool Zhrm15Driver::ResetAccounting(uint16_t record) {
  return Zhrm15ResetAccounting(link_, record, 1);
}

bool Zhrm15Driver::ReadLastBarcode(LastBarcode& out) {
  if (!Zhrm15RequestLastBarcode(link_)) return false;
  link_.LinkDelay(kBarcodeAnswerDelayMs);
  std::array<uint8_t, kBarcodeAnswer16Bytes> answer{};
  if (link_.PortRead(answer) != answer.size()) return false;
  return DecodeBarcodeAnswer16(answer, out);
}

bool Zhrm15Driver::LockRegister() {
  return zel::LockRegister(link_);
}

bool Zhrm15Driver::UnlockRegister() {
  return zel::UnlockRegister(link_);
}

}  // namespace zel
