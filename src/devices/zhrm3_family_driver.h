// What ЖРМ 3, ЖРМ 3+ and ЖРМ 200 have in common behind the driver
// interface: the last-barcode request with its 13-byte answer and the
// control tapes. The record and accounting commands are the models' own.
#pragma once

#include <cstdint>

#include "devices/device_driver.h"
#include "link/link.h"

namespace zel {

class Zhrm3FamilyDriver : public DeviceDriver {
 public:
  /// capacity: records of the model; tapeBlocks: its control-tape blocks.
  Zhrm3FamilyDriver(Link& link, uint16_t capacity, uint8_t tapeBlocks)
      : link_(link), capacity_(capacity), tapeBlocks_(tapeBlocks) {}

  int RecordsPerStep() const override { return 1; }
  uint16_t Capacity() const { return capacity_; }
  int TapeBlocks() const override { return tapeBlocks_; }

  /// Request, LinkDelay(20), then the 13-byte answer and its check.
  bool ReadLastBarcode(LastBarcode& out) override;
  /// False without sending for a block outside 1..TapeBlocks().
  bool ReadTapeBlockInfo(uint8_t block, TapeBlockInfo& out) override;
  /// False without sending for a block outside 1..TapeBlocks() or purchase 0.
  bool ReadTapeRecord(uint16_t purchase, uint8_t block, TapePurchase& out) override;
  bool ClearTapeBlocks() override;

 protected:
  /// One record step at `first` that lies within the capacity.
  bool IsRecordStep(uint16_t first, std::size_t records) const {
    return records == 1 && first < capacity_;
  }

  Link& link_;

 private:
  uint16_t capacity_;
  uint8_t tapeBlocks_;
};

}  // namespace zel
