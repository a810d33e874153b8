// "Чтение данных товароучета", "Сброс данных товароучета" and
// "Очистка таблицы базы товаров". One product per step for every type.
#include "base/active_device.h"
#include "base/base_ops.h"
#include "base/history_ops.h"
#include "operations/driver_factory.h"
#include "operations/exchange_run.h"
#include "operations/operations.h"
#include "operations/register_lock.h"

namespace zel {
namespace {

constexpr const char* kReadCaption = "Чтение учета";
constexpr const char* kResetCaption = "Сброс учета";
constexpr const char* kClearCaption = "Очистка таблицы";

// One accounting exchange per product of the range; `send` sends one
// attempt and fills the quantity text.
template <typename Send>
LoopEnd AccountingLoop(Workspace& ws, const char* caption, int attempts, const char* failure,
                       Send send) {
  return RunRangeLoop(ws, caption, StepPlan::OneRecord(), [&](const DeviceStep& step) {
    std::string quantity;
    if (!TryUpTo(attempts, [&] { return send(step.firstRecord, quantity); })) {
      ws.prompts.Error(failure);
      return false;
    }
    ws.table.SetCell(step.firstRow, kColAccounting, quantity);
    return true;
  });
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
  const LoopEnd end = AccountingLoop(ws, kReadCaption, active.rules->accountingReadAttempts,
                                     active.rules->readAccountingFailed,
                                     [&](uint16_t record, std::string& quantity) {
                                       return active.driver->ReadAccounting(record, quantity);
                                     });
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
  const LoopEnd end =
      AccountingLoop(ws, kResetCaption, kAttempts, active.rules->resetAccountingFailed,
                     [&](uint16_t record, std::string& quantity) {
                       quantity = kZeroQuantity;
                       return active.driver->ResetAccounting(record);
                     });
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
