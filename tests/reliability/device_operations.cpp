#include "device_operations.h"

#include "operations/family_rules.h"
#include "operations/operations.h"
#include "server_side.h"

namespace zel::testing {
namespace {

bool Always(OperationRun&) {
  return true;
}

void RunRead(OperationRun& r) {
  r.rig.Prompts().Answer(Answer::No);
  ReadActiveBase(r.rig.Ws());
}
void RunWrite(OperationRun& r) {
  r.rig.Prompts().Answer(Answer::Yes);
  WriteActiveBase(r.rig.Ws());
}
void RunReadAccounting(OperationRun& r) {
  ReadAccounting(r.rig.Ws());
}
void RunResetAccounting(OperationRun& r) {
  r.rig.Prompts().Answer(Answer::Yes);
  ResetAccounting(r.rig.Ws());
}
void RunTapes(OperationRun& r) {
  ListTapeBlocks(r.rig.Ws(), r.tapes);
}

// The reminder is switched off, so the tape is read without the whole base.
class NoReminder final : public TapeReminder {
 public:
  bool Show(int&) override { return true; }
};

void PrepareTapeRead(OperationRun& r) {
  PrepareTapes(r);
  ListTapeBlocks(r.rig.Ws(), r.tapes);
  r.tapes.ChooseBlock(1);
  r.rig.Ws().options.reminderMenuTicked = false;
  r.rig.Ws().options.reminderMode = kRemindNever;
}
void RunTapeRead(OperationRun& r) {
  NoReminder reminder;
  ReadChosenTape(r.rig.Ws(), r.tapes, reminder);
}

void PrepareBarcode(OperationRun& r) {
  r.rig.Device().setBarcode("201234500000");
  r.barcode.Request(r.rig.Ws());
  r.barcode.TakeShowRequest();
}
void RunBarcode(OperationRun& r) {
  r.pollAnswered = r.barcode.Poll(r.rig.Ws()) == BarcodePoll::Shown;
}
std::vector<std::string> ObserveBarcode(OperationRun& r) {
  return {r.barcode.view.code, r.barcode.view.result};
}

}  // namespace

OperationRun::OperationRun(const std::string& type) : rig(type) {}
OperationRun::~OperationRun() = default;

bool HasTapes(OperationRun& r) {
  return static_cast<bool>(r.rig.Device().addTapes);
}

void PrepareRead(OperationRun& r) {
  Workspace& ws = r.rig.Ws();
  r.rig.SetRange(1, kRangeRecords);
  r.rig.FillRows(kRangeRecords);
  r.rig.Prompts().Answer(Answer::Yes);
  WriteActiveBase(ws);
  MarkRowsOld(r);
}
void MarkRowsOld(OperationRun& r) {
  for (int row = 1; row <= kRangeRecords; ++row) r.rig.Ws().table.SetCell(row, kColName, "OLD");
}
std::vector<std::string> ObserveRows(OperationRun& r) {
  std::vector<std::string> out;
  for (int row = 1; row <= kRangeRecords; ++row) out.push_back(RowText(r.rig.Ws(), row));
  return out;
}

void PrepareWrite(OperationRun& r) {
  r.rig.SetRange(1, kRangeRecords);
  r.rig.FillRows(kRangeRecords);
  r.rig.Ws().options.blockKkm = true;
}
std::vector<std::string> ObserveRecords(OperationRun& r) {
  std::vector<std::string> out;
  for (int n = 0; n < kRangeRecords; ++n) out.push_back(r.rig.Device().record(n));
  return out;
}

void PrepareAccounting(OperationRun& r) {
  for (int n = 0; n < kRangeRecords; ++n)
    r.rig.Device().setAccounting(n, static_cast<uint32_t>(1000 * (n + 1) + n));
  r.rig.SetRange(1, kRangeRecords);
  MarkAccountingOld(r);
  r.rig.Ws().options.blockKkm = true;
}
void MarkAccountingOld(OperationRun& r) {
  for (int row = 1; row <= kRangeRecords; ++row)
    r.rig.Ws().table.SetCell(row, kColAccounting, "9.999");
}
std::vector<std::string> ObserveAccounting(OperationRun& r) {
  std::vector<std::string> out;
  for (int n = 0; n < kRangeRecords; ++n) {
    out.push_back(std::to_string(r.rig.Device().accounting(n)));
    out.push_back(r.rig.Ws().table.Cell(n + 1, kColAccounting));
  }
  return out;
}

void PrepareTapes(OperationRun& r) {
  r.rig.Device().addTapes();
}
std::vector<std::string> ObserveTapes(OperationRun& r) {
  std::vector<std::string> out;
  // The choice mark is set once the listing is complete, so it is left out.
  for (const auto& b : r.tapes.blocks) out.push_back(b[1] + "|" + b[2] + "|" + b[3]);
  return out;
}
std::vector<std::string> ObservePurchases(OperationRun& r) {
  std::vector<std::string> out;
  for (const auto& p : r.tapes.purchases)
    out.push_back(p[0] + "|" + p[1] + "|" + p[2] + "|" + p[3] + "|" + p[4]);
  return out;
}

const std::vector<DeviceOperation>& DeviceOperations() {
  static const std::vector<DeviceOperation> ops = [] {
    std::vector<DeviceOperation> all = {
        {"read", Always, PrepareRead, RunRead, ObserveRows, true, FailureSign::Message},
        {"write", Always, PrepareWrite, RunWrite, ObserveRecords, false, FailureSign::Message},
        {"accounting", Always, PrepareAccounting, RunReadAccounting, ObserveAccounting, true,
         FailureSign::Message},
        {"reset", Always, PrepareAccounting, RunResetAccounting, ObserveAccounting, false,
         FailureSign::Message},
        {"tapes", HasTapes, PrepareTapes, RunTapes, ObserveTapes, true, FailureSign::Message},
        {"tape read", HasTapes, PrepareTapeRead, RunTapeRead, ObservePurchases, true,
         FailureSign::Message},
        {"barcode", Always, PrepareBarcode, RunBarcode, ObserveBarcode, true,
         FailureSign::PollResult},
    };
    for (const auto& op : ServerOperations()) all.push_back(op);
    return all;
  }();
  return ops;
}

bool IsExchangeFailureMessage(const std::string& text) {
  return text.starts_with("Ошибка RS-232") || text.starts_with("Ошибка RS232") ||
         text == kCorruptBaseMessage;
}

}  // namespace zel::testing
