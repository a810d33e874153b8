// The device operations the fault suites drive, each as: set the rig up on
// a clean line, run once, and observe what it changed.
#pragma once

#include <string>
#include <vector>

#include "fault_rig.h"
#include "operations/barcode_entry.h"
#include "operations/control_tapes.h"

namespace zel::testing {

/// A rig with the window-side state some operations keep.
struct OperationRun {
  explicit OperationRun(const std::string& type) : rig(type) {}
  Rig rig;
  TapeTables tapes;
  BarcodeEntry barcode;
  bool pollAnswered = false;
};

struct DeviceOperation {
  const char* name;
  /// False when the family has no such exchange.
  bool (*supports)(OperationRun&);
  void (*prepare)(OperationRun&);
  void (*run)(OperationRun&);
  /// What the operation changes, one element per record or row.
  std::vector<std::string> (*observe)(OperationRun&);
  /// A failed run must leave the base file as it was.
  bool failureKeepsFile;
  /// The operation reports no failure by a message, only by its result.
  bool silentFailure;
};

/// Records in the range of every operation.
inline constexpr int kRangeRecords = 3;

/// Read, write, accounting read, accounting reset, tape listing, barcode poll.
const std::vector<DeviceOperation>& DeviceOperations();

/// Every message an operation may end with on a failed exchange.
bool IsExchangeFailureMessage(const std::string& text);

}  // namespace zel::testing
