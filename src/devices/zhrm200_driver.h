// Driver of the ЖРМ 200: 11234 records of 35 bytes, 8 tape blocks.
#pragma once

#include "devices/zhrm3_family_driver.h"

namespace zel {

class Zhrm200Driver final : public Zhrm3FamilyDriver {
 public:
  explicit Zhrm200Driver(Link& link);

  bool ReadProducts(uint16_t first, std::span<ProductRecord> out) override;
  bool WriteProducts(uint16_t first, std::span<const ProductRecord> in) override;
  /// "Стоимость" above 999999.99 (the record holds six integer digits) or
  /// malformed, "Отдел" above 127, "Штрих-код" with a character outside
  /// printable ASCII, "Тов. группа" above 255.
  std::string CheckEncodable(const ProductRecord& record) const override;
  bool ReadAccounting(uint16_t record, std::string& quantity) override;
  bool ResetAccounting(uint16_t record) override;
};

}  // namespace zel
