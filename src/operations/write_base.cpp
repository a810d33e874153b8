// "Запись активной базы".
#include <vector>

#include "base/active_device.h"
#include "base/base_ops.h"
#include "operations/driver_factory.h"
#include "operations/exchange_run.h"
#include "operations/operations.h"
#include "operations/register_lock.h"

namespace zel {
namespace {

constexpr const char* kCaption = "Запись базы";

bool WriteStepWithAttempts(Workspace& ws, ActiveDriver& active, uint16_t first,
                           const std::vector<ProductRecord>& records) {
  return TryUpTo(
      kAttempts, [&] { return active.driver->WriteProducts(first, records); },
      [&] { ws.progress.ProcessEvents(); });
}

// A cell that cannot be put into the device's record (a letter in a price
// imported from a file) ends the write before anything of that step is sent.
bool CheckRows(Workspace& ws, ActiveDriver& active, int firstRow,
               const std::vector<ProductRecord>& records) {
  for (std::size_t j = 0; j < records.size(); ++j) {
    const std::string field = active.driver->CheckEncodable(records[j]);
    if (field.empty()) continue;
    const int row = firstRow + static_cast<int>(j);
    ws.prompts.Error("Товар № " + ws.table.Cell(row, kColNumber) + ": значение поля \"" + field +
                     "\" не может быть записано в прибор. Запись остановлена.");
    return false;
  }
  return true;
}

LoopEnd WriteLoop(Workspace& ws, ActiveDriver& active) {
  std::vector<ProductRecord> records;
  const StepPlan plan(active.driver->RecordsPerStep());
  return RunRangeLoop(ws, kCaption, plan, [&](const DeviceStep& step) {
    records.resize(static_cast<std::size_t>(step.count));
    for (int j = 0; j < step.count; ++j)
      records[static_cast<std::size_t>(j)] = ws.table.RecordAt(step.firstRow + j);
    if (!CheckRows(ws, active, step.firstRow, records)) return false;
    if (WriteStepWithAttempts(ws, active, step.firstRecord, records)) return true;
    ws.prompts.Error(active.rules->writeBaseFailed);
    return false;
  });
}

}  // namespace

void WriteActiveBase(Workspace& ws) {
  ws.run.stopRequested = false;
  if (!Set_Zhrm(ws)) return;
  if (!ws.prompts.AskYesNo("Действительно хотите записать базу ?")) return;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active)) return;
  RegisterLock lock(ws, active);

  BeginExchange(ws, kCaption);
  if (!CheckBaseRange(ws.range, ws.device.typeText, ws.prompts) || !ShowCheckedRange(ws)) {
    lock.Release();
    return EndExchange(ws);
  }
  if (WriteLoop(ws, active) == LoopEnd::Done) {
    if (auto start = ParseRecordNumber(ws.range.StartText())) ws.range.CurrentRecord = *start;
  }
  lock.Release();
  EndExchange(ws);
}

}  // namespace zel
