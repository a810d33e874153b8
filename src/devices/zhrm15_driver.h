// Driver of the ЖРМ 1.5 family ("ЖРМ 1.5", "ЖРМ 1.5в"): products move in
// blocks of four, accounting one record at a time, and the cash register
// behind the terminal is locked with the register-lock frame.
#pragma once

#include "devices/device_driver.h"
#include "devices/zhrm15_record.h"
#include "link/link.h"

namespace zel {

class Zhrm15Driver final : public DeviceDriver {
 public:
  Zhrm15Driver(Link& link, Zhrm15Model model) : link_(link), model_(model) {}

  int RecordsPerStep() const override { return kZhrm15RecordsPerBlock; }
  /// `first` must start a block (a multiple of 4) and `out` hold 4 records;
  /// otherwise false without an exchange.
  bool ReadProducts(uint16_t first, std::span<ProductRecord> out) override;
  bool WriteProducts(uint16_t first, std::span<const ProductRecord> in) override;
  std::string CheckEncodable(const ProductRecord& record) const override;
  bool ReadAccounting(uint16_t record, std::string& quantity) override;
  bool ResetAccounting(uint16_t record) override;
  /// Request, 20 ms pause, one read of the 16-byte answer and its check.
  bool ReadLastBarcode(LastBarcode& out) override;
  bool LockRegister() override;
  bool UnlockRegister() override;

 private:
  Link& link_;
  Zhrm15Model model_;
};

}  // namespace zel
