// Driver of the cash register ЗЕЛ-7Ф served directly on the line: 4000
// records of 32 bytes, one per step; no control tapes, no lock of its own.
#pragma once

#include "devices/device_driver.h"
#include "link/link.h"

namespace zel {

class RegisterDriver final : public DeviceDriver {
 public:
  explicit RegisterDriver(Link& link) : link_(link) {}

  static constexpr uint16_t kCapacity = 4000;

  int RecordsPerStep() const override { return 1; }
  /// An invalid record ("Некорректная запись") counts as read.
  bool ReadProducts(uint16_t first, std::span<ProductRecord> out) override;
  bool WriteProducts(uint16_t first, std::span<const ProductRecord> in) override;
  /// "Стоимость" above 999999.99 or malformed, "Отдел" or "Тов. группа"
  /// above 255, "Штрих-код" with a character that is no digit.
  std::string CheckEncodable(const ProductRecord& record) const override;
  bool ReadAccounting(uint16_t record, std::string& quantity) override;
  bool ResetAccounting(uint16_t record) override;
  /// All twelve characters of the answer, leading zeros included; empty
  /// when they are all 0x00 or all "0" (nothing scanned).
  bool ReadLastBarcode(LastBarcode& out) override;

 private:
  Link& link_;
};

}  // namespace zel
