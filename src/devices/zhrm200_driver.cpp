#include "devices/zhrm200_driver.h"

#include <algorithm>

#include "devices/accounting_bcd.h"
#include "devices/control_tape.h"
#include "devices/field_codecs.h"
#include "devices/zhrm200_commands.h"
#include "devices/zhrm200_record.h"

namespace zel {
namespace {

constexpr uint16_t kZhrm200Records = 11234;
constexpr int kMaxPriceDigits = 6;

}  // namespace

Zhrm200Driver::Zhrm200Driver(Link& link)
    : Zhrm3FamilyDriver(link, kZhrm200Records, kZhrm200TapeBlocks) {}

bool Zhrm200Driver::ReadProducts(uint16_t first, std::span<ProductRecord> out) {
  if (!IsRecordStep(first, out.size()) || !Zhrm200ReadRecord(link_, first)) return false;
  out[0] = DecodeZhrm200Record(std::span(link_.Buffers().main).first<kZhrm200RecordBytes>());
  return true;
}

bool Zhrm200Driver::WriteProducts(uint16_t first, std::span<const ProductRecord> in) {
  if (!IsRecordStep(first, in.size())) return false;
  auto& main = link_.Buffers().main;
  std::fill_n(main.begin(), kZhrm200WriteAreaBytes, 0);
  EncodeZhrm200Record(in[0],
                      std::span(main).subspan<kZhrm200WriteRecordOffset, kZhrm200RecordBytes>());
  return Zhrm200WriteRecord(link_, first);
}

// The table allows seven integer digits for every ЖРМ, but this record
// keeps six; a larger price would reach the terminal without its first digit.
std::string Zhrm200Driver::CheckEncodable(const ProductRecord& record) const {
  uint8_t value = 0;
  if (!IsEncodablePrice(record.price, kMaxPriceDigits)) return "Стоимость";
  if (!ParseByteValue(record.section, value) || value > kZhrm200MaxSection) return "Отдел";
  if (!IsAsciiBarcode(record.barcode)) return "Штрих-код";
  if (!ParseByteValue(record.column6, value)) return "Тов. группа";
  return {};
}

bool Zhrm200Driver::ReadAccounting(uint16_t record, std::string& quantity) {
  if (record >= Capacity() || !Zhrm200ReadAccounting(link_, record)) return false;
  quantity =
      DecodeAccountingBcd(std::span(link_.Buffers().accounting).first<kAccountingBcdBytes>());
  return true;
}

bool Zhrm200Driver::ResetAccounting(uint16_t record) {
  return record < Capacity() && Zhrm200ResetAccounting(link_, record);
}

}  // namespace zel
