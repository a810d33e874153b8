// "Чтение данных товароучета", "Сброс данных товароучета" and
// "Очистка таблицы базы товаров". One product per step for every type.
#include "base/active_device.h"
#include "base/base_ops.h"
#include "base/history_ops.h"
#include "operations/driver_factory.h"
#include "operations/exchange_run.h"
#include "operations/operations.h"
#include "operations/register_lock.h"
#include "operations/step_plan.h"

namespace zel {
namespace {

constexpr const char* kReadCaption = "Чтение учета";
constexpr const char* kResetCaption = "Сброс учета";
constexpr const char* kClearCaption = "Очистка таблицы";

// One accounting exchange per product of the range; `send` sends one
// attempt and fills the quantity text.
template <typename Send>
LoopEnd AccountingLoop(Workspace& ws, int attempts, const char* failure, Send send) {
  const StepPlan plan = StepPlan::OneRecord();
  for (int row = 1; ws.range.CurrentRecord <= ws.range.LastRecord; ++row) {
    if (StopPressed(ws)) return LoopEnd::Stopped;
    ws.progress.ProcessEvents();
    const DeviceStep step = plan.At(ws.range.CurrentRecord, row);
    std::string quantity;
    if (!TryUpTo(attempts, [&] { return send(step.firstRecord, quantity); })) {
      ws.prompts.Error(failure);
      return LoopEnd::Failed;
    }
    ws.table.SetCell(step.firstRow, kColAccounting, quantity);
    ws.progress.AdvanceProgress();
    ++ws.range.CurrentRecord;
  }
  return LoopEnd::Done;
}

// `keepCopy` is false after a base read, which kept the file already.
bool ReadAccountingKeeping(Workspace& ws, bool keepCopy) {
  ws.run.stopRequested = false;
  if (!Set_Zhrm(ws)) return false;
  if (!CheckBaseRange(ws.range, ws.device.typeText, ws.prompts)) return false;
  if (!ShowCheckedRange(ws)) return false;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active)) return false;
  if (keepCopy && !KeepBaseBeforeChange(ws, kCopyAccounting)) return false;

  BeginExchange(ws, kReadCaption);
  SetGaugeMaximum(ws, kReadCaption, ws.range.LastRecord - ws.range.CurrentRecord);
  const LoopEnd end =
      AccountingLoop(ws, active.rules->accountingReadAttempts, active.rules->readAccountingFailed,
                     [&](uint16_t record, std::string& quantity) {
                       return active.driver->ReadAccounting(record, quantity);
                     });
  if (end == LoopEnd::Done) FinishGauge(ws, kReadCaption);
  EndStoringExchange(ws, end);
  return end != LoopEnd::Failed;
}

}  // namespace

bool ReadAccounting(Workspace& ws) {
  return ReadAccountingKeeping(ws, true);
}

bool ReadAccountingAfterRead(Workspace& ws) {
  return ReadAccountingKeeping(ws, false);
}

void ResetAccounting(Workspace& ws) {
  ws.run.stopRequested = false;
  if (!Set_Zhrm(ws)) return;
  if (!ws.prompts.AskYesNo("Хотите очистить блок товароучета ?")) return;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active)) return;
  RegisterLock lock(ws, active);
  if (!CheckBaseRange(ws.range, ws.device.typeText, ws.prompts)) return;
  if (!ShowCheckedRange(ws) || !KeepBaseBeforeChange(ws, kCopyReset)) return;

  BeginExchange(ws, kResetCaption);
  SetGaugeMaximum(ws, kResetCaption, ws.range.LastRecord - ws.range.CurrentRecord);
  const LoopEnd end = AccountingLoop(ws, kAttempts, active.rules->resetAccountingFailed,
                                     [&](uint16_t record, std::string& quantity) {
                                       quantity = kZeroQuantity;
                                       return active.driver->ResetAccounting(record);
                                     });
  if (end == LoopEnd::Done) FinishGauge(ws, kResetCaption);
  lock.Release();
  EndStoringExchange(ws, end);
}

void ClearTable(Workspace& ws) {
  if (!ws.prompts.AskYesNo("Действительно хотите очистить таблицу?")) return;
  if (!CheckBaseRange(ws.range, ws.device.typeText, ws.prompts)) return;
  if (!ShowCheckedRange(ws) || !KeepBaseBeforeChange(ws, kCopyClear)) return;
  ws.progress.ShowProgress(kClearCaption, ws.range.LastRecord - ws.range.CurrentRecord, false);
  ClearBase(ws);
  ws.progress.HideProgress();
}

}  // namespace zel
