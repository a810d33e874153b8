// The workers of the exchanges a client starts and does not wait for: one
// device record (or block of four) per step. Each step runs on the main
// thread between events; a failed command ends the exchange with code 4,
// and the reads store the table into the base file only on a complete run.
#pragma once

#include <string>

#include "operations/driver_factory.h"
#include "operations/register_lock.h"
#include "operations/step_plan.h"
#include "server/exchange_stepper.h"
#include "server/server_context.h"

namespace zel {

/// The four exchanges over the record range, stepping as `plan` says.
class RangeWorker : public ServerWorker {
 public:
  void Abort(int code) override { Finish(code); }

 protected:
  RangeWorker(ServerContext& ctx, ActiveDriver active, StepPlan plan);
  /// The range is done.
  bool PastEnd() const;
  /// False after finishing with code 12 when the active type is no longer
  /// the one the exchange started with.
  bool TypeStillActive();
  /// The next record (or block) and row; progress + 5.
  void Advance();
  void Finish(int code);
  /// Finishes with code 0 and stores the table into the base file; a store
  /// that fails (already reported in a box) leaves code 4.
  void FinishAndStore();
  /// This step's records and rows, from `CurrentRecord` and `RowCounter`.
  DeviceStep CurrentStep() const;

  ServerContext& ctx_;
  ActiveDriver active_;
  const StepPlan plan_;
  const std::string type_;
};

/// `ReadBase`: device records into columns 1..4 (and 6 where the type has it).
class TReadZhrm final : public RangeWorker {
 public:
  TReadZhrm(ServerContext& ctx, ActiveDriver active, StepPlan plan)
      : RangeWorker(ctx, std::move(active), plan) {}
  void Step() override;
  const char* Name() const override { return "TReadZhrm"; }

 private:
  void StoreRow(int row, const ProductRecord& record);
};

/// `WriteBase`: table rows into the device, five attempts each, framed by
/// the register lock when "Блокировка ККМ" is ticked.
class TWriteZhrm final : public RangeWorker {
 public:
  /// Sends the register lock now when the option and the family call for it.
  TWriteZhrm(ServerContext& ctx, ActiveDriver active, StepPlan plan)
      : RangeWorker(ctx, std::move(active), plan), lock_(ctx.ws, active_) {}
  void Step() override;
  void Abort(int code) override;
  const char* Name() const override { return "TWriteZhrm"; }

 private:
  bool RowsEncodable(const std::vector<ProductRecord>& records, int firstRow);

  RegisterLock lock_;
};

/// `ReadUchet`: each record's accounting into column 5.
class TReadUchetZhrm final : public RangeWorker {
 public:
  TReadUchetZhrm(ServerContext& ctx, ActiveDriver active, StepPlan plan)
      : RangeWorker(ctx, std::move(active), plan) {}
  void Step() override;
  const char* Name() const override { return "TReadUchetZhrm"; }
};

/// `ClearUchet`: each record's accounting reset in the device, "0.000" shown.
class TClearUchetZhrm final : public RangeWorker {
 public:
  TClearUchetZhrm(ServerContext& ctx, ActiveDriver active, StepPlan plan)
      : RangeWorker(ctx, std::move(active), plan) {}
  void Step() override;
  const char* Name() const override { return "TClearUchetZhrm"; }
};

/// `ReadKL`: the purchases of one control-tape slot, with names and prices
/// from the product table by position.
class TRead_KL final : public ServerWorker {
 public:
  TRead_KL(ServerContext& ctx, ActiveDriver active) : ctx_(ctx), active_(std::move(active)) {}
  void Step() override;
  void Abort(int code) override;
  const char* Name() const override { return "TRead_KL"; }

 private:
  ServerContext& ctx_;
  ActiveDriver active_;
};

}  // namespace zel
