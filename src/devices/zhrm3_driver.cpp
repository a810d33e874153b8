#include "devices/zhrm3_driver.h"

#include <algorithm>

#include "devices/accounting_bcd.h"
#include "devices/control_tape.h"
#include "devices/field_codecs.h"
#include "devices/zhrm3_commands.h"
#include "devices/zhrm3_record.h"

namespace zel {
namespace {

constexpr uint16_t kZhrm3Records = 4096;
constexpr uint16_t kZhrm3PlusRecords = 12288;
constexpr int kMaxPriceDigits = 7;

}  // namespace

Zhrm3Driver::Zhrm3Driver(Link& link, Zhrm3Model model)
    : Zhrm3FamilyDriver(link, model == Zhrm3Model::Zhrm3 ? kZhrm3Records : kZhrm3PlusRecords,
                        model == Zhrm3Model::Zhrm3 ? kZhrm3TapeBlocks : kZhrm3PlusTapeBlocks) {}

bool Zhrm3Driver::ReadProducts(uint16_t first, std::span<ProductRecord> out) {
  if (!IsRecordStep(first, out.size()) || !Zhrm3ReadRecord(link_, first)) return false;
  out[0] = DecodeZhrm3Record(std::span(link_.Buffers().main).first<kZhrm3RecordBytes>());
  return true;
}

bool Zhrm3Driver::WriteProducts(uint16_t first, std::span<const ProductRecord> in) {
  if (!IsRecordStep(first, in.size())) return false;
  auto& main = link_.Buffers().main;
  std::fill_n(main.begin(), kZhrm3WriteAreaBytes, 0);
  EncodeZhrm3Record(in[0], std::span(main).subspan<kZhrm3WriteRecordOffset, kZhrm3RecordBytes>());
  return Zhrm3WriteRecord(link_, first);
}

std::string Zhrm3Driver::CheckEncodable(const ProductRecord& record) const {
  uint8_t section = 0;
  if (!IsEncodablePrice(record.price, kMaxPriceDigits)) return "Стоимость";
  if (!ParseByteValue(record.section, section)) return "Отдел";
  if (!IsAsciiBarcode(record.barcode)) return "Штрих-код";
  return {};
}

bool Zhrm3Driver::ReadAccounting(uint16_t record, std::string& quantity) {
  if (record >= Capacity() || !Zhrm3ReadAccounting(link_, record)) return false;
  quantity =
      DecodeAccountingBcd(std::span(link_.Buffers().accounting).first<kAccountingBcdBytes>());
  return true;
}

bool Zhrm3Driver::ResetAccounting(uint16_t record) {
  return record < Capacity() && Zhrm3ResetAccounting(link_, record);
}

}  // namespace zel
