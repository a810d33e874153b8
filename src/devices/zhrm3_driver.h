// Driver of ЖРМ 3 (4096 records, 18 tape blocks) and ЖРМ 3+ (12288 records,
// 8 tape blocks): one 32-byte record per step.
#pragma once

#include "devices/zhrm3_family_driver.h"

namespace zel {

enum class Zhrm3Model { Zhrm3, Zhrm3Plus };

class Zhrm3Driver final : public Zhrm3FamilyDriver {
 public:
  Zhrm3Driver(Link& link, Zhrm3Model model);

  bool ReadProducts(uint16_t first, std::span<ProductRecord> out) override;
  bool WriteProducts(uint16_t first, std::span<const ProductRecord> in) override;
  /// "Стоимость" above 9999999.99 or malformed, "Отдел" above 255,
  /// "Штрих-код" with a character outside printable ASCII.
  std::string CheckEncodable(const ProductRecord& record) const override;
  bool ReadAccounting(uint16_t record, std::string& quantity) override;
  bool ResetAccounting(uint16_t record) override;
};

}  // namespace zel
