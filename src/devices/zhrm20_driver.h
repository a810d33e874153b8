// Driver of the ЖРМ 2.0: one record per step over the addressed frame; the
// terminal itself locks its cash register on command.
#pragma once

#include "devices/device_driver.h"
#include "link/link.h"

namespace zel {

class Zhrm20Driver final : public DeviceDriver {
 public:
  explicit Zhrm20Driver(Link& link) : link_(link) {}

  int RecordsPerStep() const override { return 1; }
  bool ReadProducts(uint16_t first, std::span<ProductRecord> out) override;
  /// CorruptBase when the last failed read got status 2 from the device.
  ReadFault LastReadFault() const override { return lastReadFault_; }
  bool WriteProducts(uint16_t first, std::span<const ProductRecord> in) override;
  std::string CheckEncodable(const ProductRecord& record) const override;
  bool ReadAccounting(uint16_t record, std::string& quantity) override;
  bool ResetAccounting(uint16_t record) override;
  /// Request, then the 16-byte answer with a 50 ms idle limit and its check.
  bool ReadLastBarcode(LastBarcode& out) override;
  bool LockRegister() override;
  bool UnlockRegister() override;

 private:
  Link& link_;
  ReadFault lastReadFault_ = ReadFault::None;
};

}  // namespace zel
