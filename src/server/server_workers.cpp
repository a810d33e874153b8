#include "server/server_workers.h"

#include <cstdio>
#include <vector>

#include "base/base_ops.h"
#include "operations/family_rules.h"
#include "server/server_busy.h"
#include "server/server_codes.h"

namespace zel {
namespace {

// The one table row a client-visible product number belongs to, for the log.
std::string ProductOfRow(const Workspace& ws, int row) {
  const std::string& number = ws.table.Cell(row, kColNumber);
  return number.empty() ? "row " + std::to_string(row) : "product " + number;
}

}  // namespace

RangeWorker::RangeWorker(ServerContext& ctx, ActiveDriver active, StepPlan plan)
    : ctx_(ctx), active_(std::move(active)), plan_(plan), type_(ctx.ws.device.typeText) {}

void RangeWorker::Step() {
  if (ctx_.ws.range.CurrentRecord > ctx_.ws.range.LastRecord) return End();
  if (!TypeStillActive()) return;
  if (!Exchange(plan_.At(ctx_.ws.range.CurrentRecord, ctx_.vars.RowCounter))) {
    return Abort(kCodeLinkFailure);
  }
  Advance();
}

bool RangeWorker::TypeStillActive() {
  if (ctx_.ws.device.typeText == type_) return true;
  Abort(kCodeBadRemoteBase);
  return false;
}

void RangeWorker::Advance() {
  ++ctx_.ws.range.CurrentRecord;
  ++ctx_.vars.RowCounter;
  ctx_.vars.StepStopFlag = false;
  AdvanceRangeProgress(ctx_);
}

void RangeWorker::FinishAndStore() {
  Finish(kCodeOk);
  // A table the base file did not take is no success for the client.
  if (!StoreBaseFile(ctx_.ws)) ctx_.vars.ServerErrorCode = kCodeLinkFailure;
}

void RangeWorker::Finish(int code) {
  FinishServerOperation(ctx_, ExchangeKind::Range, code);
}

bool TReadZhrm::Exchange(const DeviceStep& step) {
  std::vector<ProductRecord> records(static_cast<std::size_t>(step.count));
  if (!active_.driver->ReadProducts(step.firstRecord, records)) return false;
  for (std::size_t j = 0; j < records.size(); ++j) {
    StoreRow(step.firstRow + static_cast<int>(j), records[j]);
  }
  return true;
}

void TReadZhrm::StoreRow(int row, const ProductRecord& r) {
  ProductTable& t = ctx_.ws.table;
  t.SetCell(row, kColBarcode, r.barcode);
  t.SetCell(row, kColPrice, r.price);
  t.SetCell(row, kColName, r.name);
  t.SetCell(row, kColSection, r.section);
  if (active_.rules->serverReadFillsColumn6) t.SetCell(row, kCol6, r.column6);
}

bool TWriteZhrm::Exchange(const DeviceStep& step) {
  std::vector<ProductRecord> records(static_cast<std::size_t>(step.count));
  for (std::size_t j = 0; j < records.size(); ++j) {
    records[j] = ctx_.ws.table.RecordAt(step.firstRow + static_cast<int>(j));
  }
  return RowsEncodable(records, step.firstRow) && TryUpTo(kAttempts, [&] {
           return active_.driver->WriteProducts(step.firstRecord, records);
         });
}

void TWriteZhrm::Abort(int code) {
  lock_.Release();
  Finish(code);
}

// A cell the device record cannot hold (a section typed as a letter) ends
// the write before anything of this step is sent, with a line in the log
// since the client only sees the code.
bool TWriteZhrm::RowsEncodable(const std::vector<ProductRecord>& records, int firstRow) {
  for (std::size_t j = 0; j < records.size(); ++j) {
    const std::string field = active_.driver->CheckEncodable(records[j]);
    if (field.empty()) continue;
    const int row = firstRow + static_cast<int>(j);
    std::fprintf(stderr,
                 "zelbase: server write stopped with code %d: %s: the field \"%s\" cannot be "
                 "written to the device\n",
                 kCodeLinkFailure, ProductOfRow(ctx_.ws, row).c_str(), field.c_str());
    return false;
  }
  return true;
}

bool TReadUchetZhrm::Exchange(const DeviceStep& step) {
  std::string quantity;
  if (!active_.driver->ReadAccounting(step.firstRecord, quantity)) return false;
  ctx_.ws.table.SetCell(step.firstRow, kColAccounting, quantity);
  return true;
}

bool TClearUchetZhrm::Exchange(const DeviceStep& step) {
  if (!active_.driver->ResetAccounting(step.firstRecord)) return false;
  ctx_.ws.table.SetCell(step.firstRow, kColAccounting, kZeroQuantity);
  return true;
}

void TRead_KL::Step() {
  ServerVariables& v = ctx_.vars;
  if (v.KLRecordIndex > v.KLRecordCount) {
    if (v.KLRecordCount != 0) ctx_.tapes.purchasesHeaderFixed = true;
    ctx_.view.TapeTablesChanged();
    return Abort(kCodeOk);
  }
  TapePurchase purchase;
  if (!active_.driver->ReadTapeRecord(static_cast<uint16_t>(v.KLRecordIndex),
                                      static_cast<uint8_t>(v.KLSlot), purchase)) {
    return Abort(kCodeLinkFailure);
  }
  const int row = purchase.productNumber;
  const ProductTable& t = ctx_.ws.table;
  ctx_.tapes.purchases.push_back(
      {std::to_string(row), t.Cell(row, kColName), t.Cell(row, kColPrice), purchase.quantity, ""});
  ctx_.view.TapeTablesChanged();
  AdvanceTapeProgress(ctx_);
  ++v.KLRecordIndex;
}

void TRead_KL::Abort(int code) {
  FinishServerOperation(ctx_, ExchangeKind::Tape, code);
}

}  // namespace zel
