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
#include "server/server_codes.h"
#include "server/server_context.h"

namespace zel {

/// The four exchanges over the record range, stepping as `plan` says: each
/// step ends the exchange past the range's end, ends it with code 12 when
/// the active type is no longer the one it started with, else exchanges
/// one step and advances, or ends with code 4 when that failed.
class RangeWorker : public ServerWorker {
 public:
  RangeWorker(ServerContext& ctx, ActiveDriver active, StepPlan plan);
  void Step() final;
  void Abort(int code) override { Finish(code); }

 protected:
  /// The step's device exchange and table cells; false when it failed.
  virtual bool Exchange(const DeviceStep& step) = 0;
  /// The range is done: code 0, the table stored into the base file.
  virtual void End() { FinishAndStore(); }
  void Finish(int code);

  ServerContext& ctx_;
  ActiveDriver active_;

 private:
  bool TypeStillActive();
  /// The next record (or block) and row; progress + 5.
  void Advance();
  /// Finishes with code 0 and stores the table into the base file; a store
  /// that fails (already reported in a box) leaves code 4.
  void FinishAndStore();

  const StepPlan plan_;
  const std::string type_;
};

/// `ReadBase`: device records into columns 1..4 (and 6 where the type has it).
class TReadZhrm final : public RangeWorker {
 public:
  using RangeWorker::RangeWorker;
  const char* Name() const override { return "TReadZhrm"; }

 private:
  bool Exchange(const DeviceStep& step) override;
  void StoreRow(int row, const ProductRecord& record);
};

/// `WriteBase`: table rows into the device, five attempts each, framed by
/// the register lock when "Блокировка ККМ" is ticked.
class TWriteZhrm final : public RangeWorker {
 public:
  /// Sends the register lock now when the option and the family call for it.
  TWriteZhrm(ServerContext& ctx, ActiveDriver active, StepPlan plan)
      : RangeWorker(ctx, std::move(active), plan), lock_(ctx.ws, active_) {}
  void Abort(int code) override;
  const char* Name() const override { return "TWriteZhrm"; }

 private:
  bool Exchange(const DeviceStep& step) override;
  /// Only the lock is released: the write stores nothing.
  void End() override { Abort(kCodeOk); }
  bool RowsEncodable(const std::vector<ProductRecord>& records, int firstRow);

  RegisterLock lock_;
};

/// `ReadUchet`: each record's accounting into column 5.
class TReadUchetZhrm final : public RangeWorker {
 public:
  using RangeWorker::RangeWorker;
  const char* Name() const override { return "TReadUchetZhrm"; }

 private:
  bool Exchange(const DeviceStep& step) override;
};

/// `ClearUchet`: each record's accounting reset in the device, "0.000" shown.
class TClearUchetZhrm final : public RangeWorker {
 public:
  using RangeWorker::RangeWorker;
  const char* Name() const override { return "TClearUchetZhrm"; }

 private:
  bool Exchange(const DeviceStep& step) override;
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
