// The device operations the fault suites drive, each as: set the rig up on
// a clean line, run once, and observe what it changed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fault_rig.h"
#include "operations/barcode_entry.h"
#include "operations/control_tapes.h"

namespace zel::testing {

struct ServerSide;

/// A rig with the window-side state some operations keep.
struct OperationRun {
  explicit OperationRun(const std::string& type);
  ~OperationRun();
  Rig rig;
  TapeTables tapes;
  BarcodeEntry barcode;
  bool pollAnswered = false;
  /// The automation server over the rig's window, made by the server operations.
  std::unique_ptr<ServerSide> server;
  /// `GetBaseError` after a server operation.
  int serverCode = 0;
};

/// How an operation tells its caller that it failed.
enum class FailureSign {
  Message,     ///< a message box
  PollResult,  ///< the barcode poll returns false, nothing shown
  ServerCode,  ///< `GetBaseError` 4, nothing shown
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
  FailureSign failure;
};

/// Records in the range of every operation.
inline constexpr int kRangeRecords = 3;

/// Read, write, accounting read and reset, tape listing and tape read,
/// barcode poll; then the automation server's exchanges.
const std::vector<DeviceOperation>& DeviceOperations();

/// The automation server's exchanges, over the same window state.
std::vector<DeviceOperation> ServerOperations();

// Steps the server operations share with the window's.
void PrepareRead(OperationRun& r);
void PrepareWrite(OperationRun& r);
void PrepareAccounting(OperationRun& r);
void PrepareTapes(OperationRun& r);
void MarkRowsOld(OperationRun& r);
void MarkAccountingOld(OperationRun& r);
std::vector<std::string> ObserveRows(OperationRun& r);
std::vector<std::string> ObserveRecords(OperationRun& r);
std::vector<std::string> ObserveAccounting(OperationRun& r);
std::vector<std::string> ObserveTapes(OperationRun& r);
std::vector<std::string> ObservePurchases(OperationRun& r);
bool HasTapes(OperationRun& r);

/// Every message an operation may end with on a failed exchange.
bool IsExchangeFailureMessage(const std::string& text);

}  // namespace zel::testing
