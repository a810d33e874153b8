// The members that start an exchange: they check, prepare the window and
// hand the exchange to a worker; the client then polls `BaseStatus`.
#include <ctime>
#include <memory>

#include "base/base_history.h"

#include "base/device_types.h"
#include "operations/family_rules.h"
#include "server/server_busy.h"
#include "server/server_codes.h"
#include "server/server_workers.h"
#include "server/tserver.h"

namespace zel {
namespace {

enum Exchange { kWrite, kRead, kReadAccounting, kResetAccounting };

// The members check the type first; a type without a driver is a fault.
ActiveDriver OpenDriver(Workspace& ws) {
  ActiveDriver active = FindActiveDriver(ws);
  if (!active.driver) throw ServerFailure("no driver for the active type");
  return active;
}

// Reads and writes move the driver's steps (blocks of four on the ЖРМ 1.5
// family); the accounting goes record by record on every family.
StepPlan PlanOf(int which, const ActiveDriver& active) {
  const bool records = which == kWrite || which == kRead;
  return records ? StepPlan(active.driver->RecordsPerStep()) : StepPlan::OneRecord();
}

std::shared_ptr<ServerWorker> MakeWorker(int which, ServerContext& ctx, ActiveDriver active,
                                         StepPlan plan) {
  switch (which) {
    case kWrite:
      return std::make_shared<TWriteZhrm>(ctx, std::move(active), plan);
    case kRead:
      return std::make_shared<TReadZhrm>(ctx, std::move(active), plan);
    case kReadAccounting:
      return std::make_shared<TReadUchetZhrm>(ctx, std::move(active), plan);
    default:
      return std::make_shared<TClearUchetZhrm>(ctx, std::move(active), plan);
  }
}

}  // namespace

void TServer::KeepServerCopy(const char* operation) {
  std::string error;
  if (!KeepBaseCopy(ctx_.ws.folder, ctx_.ws.device.baseFileName, operation, std::time(nullptr),
                    error)) {
    throw ServerFailure(error);
  }
}

int TServer::WriteBase() {
  return StartRangeExchange(kWrite);
}
int TServer::ReadBase() {
  return StartRangeExchange(kRead);
}
int TServer::ReadUchet() {
  return StartRangeExchange(kReadAccounting);
}
int TServer::ClearUchet() {
  return StartRangeExchange(kResetAccounting);
}

int TServer::StartRangeExchange(int which) {
  if (RefusedBusy() || RefusedChannel() || RefusedType(ServedType() != nullptr)) return 0;
  const std::optional<FieldRange> range = Range();
  if (!range) return Refuse(kCodeBadRange);
  ActiveDriver active = OpenDriver(ctx_.ws);
  const StepPlan plan = PlanOf(which, active);
  // A range not on block bounds (typed, not confirmed) would shift rows.
  if (!plan.FitsSteps(range->start, range->end)) return Refuse(kCodeBadRange);
  // The rows the exchange reads into or sends must be the range's products.
  if (!ShownRange()) return 0;
  // The write only sends; every other exchange stores its range at the end.
  if (which != kWrite) KeepServerCopy(kCopyServer);
  // Busy before the lock is sent: its wait on the line serves other calls.
  EnterServerBusy(ctx_, BusyScope::Exchange);
  std::shared_ptr<ServerWorker> worker = MakeWorker(which, ctx_, std::move(active), plan);
  ServerVariables& v = ctx_.vars;
  v.RowCounter = plan.Start(ctx_.ws.range, range->start, range->end);
  v.StepStopFlag = false;
  ctx_.stepper.Start(std::move(worker));
  return Succeed();
}

int TServer::ReadKL(const ServerValue& slotNumber) {
  if (RefusedBusy() || RefusedType(IsTapeType()) || RefusedChannel()) return 0;
  const int64_t slot = slotNumber.Integer("SlotNumber");
  if (slot < 1 || slot > static_cast<int64_t>(ctx_.tapes.blocks.size())) {
    return Refuse(kCodeNoSuchSlot);
  }
  const std::string& count = ctx_.tapes.blocks[static_cast<std::size_t>(slot - 1)][3];
  const std::optional<int> purchases = ParseRecordNumber(count);
  if (!purchases) throw ServerFailure("slot " + std::to_string(slot) + " has no purchase count");
  ActiveDriver active = OpenDriver(ctx_.ws);
  ServerVariables& v = ctx_.vars;
  v.KLSlot = static_cast<int>(slot);
  v.KLRecordCount = *purchases;
  v.KLRecordIndex = 1;
  ctx_.tapes.purchases.clear();
  ctx_.tapes.purchasesHeaderFixed = false;
  ctx_.view.TapeTablesChanged();
  v.StepStopFlag = false;
  EnterServerBusy(ctx_, BusyScope::TapeRead);
  ctx_.stepper.Start(std::make_shared<TRead_KL>(ctx_, std::move(active)));
  return Succeed();
}

}  // namespace zel
