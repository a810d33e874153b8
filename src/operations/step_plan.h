// How a range exchange walks its products: one device record a step, or for
// the ЖРМ 1.5 family's base reads and writes one block of four. In blocks
// `CurrentRecord`, `LastRecord` and the row counter count blocks from 0;
// otherwise `CurrentRecord` is the product number and the row counter the
// table row, both from 1. The window's loops and the server's workers both
// take their steps from here.
#pragma once

#include <cstdint>

#include "base/range.h"

namespace zel {

/// One exchange step.
struct DeviceStep {
  uint16_t firstRecord;  ///< device record (product number - 1) of its first record
  int count;             ///< records it moves
  int firstRow;          ///< table row of its first record
};

class StepPlan {
 public:
  /// `perStep`: records the driver moves in one step (`RecordsPerStep`).
  explicit StepPlan(int perStep) : perStep_(perStep) {}
  /// One record a step whatever the driver moves (the accounting exchanges).
  static StepPlan OneRecord() { return StepPlan(1); }

  /// True when products `first`..`last` fill whole steps.
  bool FitsSteps(int first, int last) const;
  /// Sets `CurrentRecord` and `LastRecord` for products `first`..`last`;
  /// returns the row counter's start.
  int Start(RangeFields& range, int first, int last) const;
  /// The step when `CurrentRecord` is `current` and the row counter `rowCounter`.
  DeviceStep At(int current, int rowCounter) const;

 private:
  bool InBlocks() const { return perStep_ > 1; }

  int perStep_;
};

}  // namespace zel
