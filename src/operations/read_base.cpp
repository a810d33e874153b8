// "Чтение активной базы".
#include <vector>

#include "base/active_device.h"
#include "base/base_ops.h"
#include "base/history_ops.h"
#include "operations/driver_factory.h"
#include "operations/exchange_run.h"
#include "operations/operations.h"

namespace zel {
namespace {

constexpr const char* kCaption = "Чтение базы";

// The fields a read brings for each type; column 5 is the accounting's.
void StoreReadRecord(Workspace& ws, const ActiveDriver& active, int row, const ProductRecord& r) {
  ProductTable& t = ws.table;
  t.SetCell(row, kColBarcode, r.barcode);
  if (active.rules->readFillsColumn6) t.SetCell(row, kCol6, r.column6);
  if (active.type->column7) t.SetCell(row, kCol7, r.column7);
  t.SetCell(row, kColPrice, r.price);
  t.SetCell(row, kColName, r.name);
  t.SetCell(row, kColSection, r.section);
}

bool ReadStepWithAttempts(Workspace& ws, ActiveDriver& active, uint16_t first,
                          std::vector<ProductRecord>& out) {
  return TryUpTo(
      kAttempts, [&] { return active.driver->ReadProducts(first, out); },
      [&] {
        if (active.rules->eventsBetweenReadAttempts) ws.progress.ProcessEvents();
      });
}

void ReportReadFailure(Workspace& ws, ActiveDriver& active) {
  const bool corrupt = active.driver->LastReadFault() == ReadFault::CorruptBase;
  ws.prompts.Error(corrupt ? kCorruptBaseMessage : active.rules->readBaseFailed);
  if (active.rules->failedReadRestartsRange) {
    if (auto start = ParseRecordNumber(ws.range.StartText())) ws.range.CurrentRecord = *start;
  }
}

LoopEnd ReadLoop(Workspace& ws, ActiveDriver& active) {
  std::vector<ProductRecord> records;
  const StepPlan plan(active.driver->RecordsPerStep());
  return RunRangeLoop(ws, kCaption, plan, [&](const DeviceStep& step) {
    records.resize(static_cast<std::size_t>(step.count));
    if (!ReadStepWithAttempts(ws, active, step.firstRecord, records)) {
      ReportReadFailure(ws, active);
      return false;
    }
    for (int j = 0; j < step.count; ++j) {
      if (step.count > 1) ws.progress.ProcessEvents();
      StoreReadRecord(ws, active, step.firstRow + j, records[static_cast<std::size_t>(j)]);
    }
    return true;
  });
}

}  // namespace

void ReadActiveBase(Workspace& ws) {
  ws.run.stopRequested = false;
  if (!Set_Zhrm(ws)) return;
  const Answer answer = ws.prompts.AskYesNoCancel("Читать одновременно с товароучетом ?");
  if (answer == Answer::Cancel) return;
  const bool withAccounting = answer == Answer::Yes;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active)) return;

  BeginExchange(ws, kCaption);
  if (!CheckBaseRange(ws.range, ws.device.typeText, ws.prompts)) return EndExchange(ws);
  // Columns the device does not send come from the base file.
  if (!ShowCheckedRange(ws) || !KeepBaseBeforeChange(ws, kCopyRead)) return EndExchange(ws);
  const LoopEnd end = ReadLoop(ws, active);
  EndExchange(ws, [&] {
    if (end == LoopEnd::Failed) return;
    // The accounting read stores the range itself when it ends normally or
    // is stopped; storing it again would only repeat the same bytes.
    const bool stored = end == LoopEnd::Done && withAccounting && ReadAccountingAfterRead(ws);
    if (!stored) StoreBaseFile(ws);
  });
}

}  // namespace zel
