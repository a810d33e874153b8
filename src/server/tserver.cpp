// The shared checks, the range and channel members, and the members that
// change the active base file directly.
#include "server/tserver.h"

#include <vector>

#include "base/active_device.h"
#include "base/base_history.h"
#include "base/base_ops.h"
#include "base/base_record.h"
#include "base/device_types.h"
#include "server/server_codes.h"

namespace zel {
namespace {

[[noreturn]] void FailFile(const std::string& error) {
  throw ServerFailure("base file: " + error);
}

}  // namespace

TServer::TServer(Workspace& ws, TapeTables& tapes, ServerView& view, Settings& settings)
    : ctx_(ws, tapes, view, settings) {}

bool TServer::RefusedBusy() {
  if (ctx_.ws.run.exchangeState != ExchangeState::Busy) return false;
  ctx_.vars.ServerErrorCode = kCodeBusy;
  return true;
}

bool TServer::RefusedType(bool accepted) {
  if (accepted) return false;
  ctx_.vars.ServerErrorCode = kCodeBadRemoteBase;
  return true;
}

bool TServer::RefusedChannel() {
  if (Set_Zhrm(ctx_.ws)) return false;
  ctx_.vars.ServerErrorCode = kCodeBadZhrmNumber;
  return true;
}

int TServer::Refuse(int code) {
  ctx_.vars.ServerErrorCode = code;
  return 0;
}

int TServer::Succeed() {
  ctx_.vars.ServerErrorCode = kCodeOk;
  return 1;
}

std::optional<TServer::FieldRange> TServer::Range() const {
  const std::optional<int> start = ParseRecordNumber(ctx_.ws.range.StartText());
  const std::optional<int> end = ParseRecordNumber(ctx_.ws.range.EndText());
  // Fields the operator is still typing in may hold anything; only a range
  // the table and the base files can hold is used.
  if (!start || !end || *start < 1 || *end < *start || *end > kMaxProducts) return std::nullopt;
  return FieldRange{*start, *end};
}

std::optional<TServer::FieldRange> TServer::ShownRange() {
  const std::optional<FieldRange> range = Range();
  if (!range) {
    Refuse(kCodeBadRange);
    return std::nullopt;
  }
  Workspace& ws = ctx_.ws;
  ws.range.CurrentRecord = range->start;
  ws.range.LastRecord = range->end;
  const int shortLoads = ws.run.shortBaseLoads;
  if (ShowCheckedRange(ws)) return range;
  if (RefusedShortLoad(shortLoads)) return std::nullopt;
  throw ServerFailure("base file " + ws.device.baseFileName + " could not be loaded");
}

bool TServer::RefusedShortLoad(int shortLoadsBefore) {
  if (ctx_.ws.run.shortBaseLoads == shortLoadsBefore) return false;
  Refuse(kCodeBadRemoteBase);
  return true;
}

const DeviceType* TServer::ServedType() const {
  const DeviceType* type = DeviceTypeTable::Find(Type());
  return type && type->serverExchanges ? type : nullptr;
}

bool TServer::IsTapeType() const {
  const DeviceType* type = ServedType();
  return type && type->controlTapes;
}

int TServer::SetRange(int par1, int par2) {
  if (RefusedBusy()) return 0;
  if (par1 <= 0) return Refuse(kCodeBadRange);
  // A type the server does not serve has no limit here.
  if (const DeviceType* type = ServedType(); type && par2 > type->capacity) {
    return Refuse(kCodeBadRange);
  }
  if (par2 < par1) return Refuse(kCodeBadRange);
  ctx_.ws.range.SetStartText(std::to_string(par1));
  ctx_.ws.range.SetEndText(std::to_string(par2));
  const int shortLoads = ctx_.ws.run.shortBaseLoads;
  // A range the type cannot hold was reset to the whole base: tell the
  // client instead of reporting a range it did not get.
  if (!ConfirmRange(ctx_.ws)) return Refuse(kCodeBadRange);
  return RefusedShortLoad(shortLoads) ? 0 : Succeed();
}

int TServer::SelectBase(const ServerValue& base) {
  // The range test compares numbers, so 0.5 and 16.5 are refused with 12
  // before the value has to be a whole one.
  if (const std::optional<double> number = base.Number();
      number && (*number < 1 || *number > kChannelCount)) {
    return Refuse(kCodeBadRemoteBase);
  }
  const int64_t n = base.Integer("Base");
  if (n < 1 || n > kChannelCount) return Refuse(kCodeBadRemoteBase);
  if (RefusedBusy()) return 0;
  const int channel = static_cast<int>(n);
  if (ctx_.ws.channels.Channel(channel).disconnected) return Refuse(kCodeBadRemoteBase);
  const int shortLoads = ctx_.ws.run.shortBaseLoads;
  ActivateChannelForServer(ctx_.ws, channel);
  return RefusedShortLoad(shortLoads) ? 0 : Succeed();
}

int TServer::SavePos() {
  if (RefusedBusy()) return 0;
  if (!ctx_.settings.SavePos(ctx_.ws)) {
    throw ServerFailure("the settings file " + ctx_.settings.Path().string() +
                        " could not be written");
  }
  return Succeed();
}

void TServer::Visible(int par) {
  ctx_.view.SetMainWindowVisible(par != 0);
}

int TServer::ClearTable() {
  if (RefusedBusy()) return 0;
  const std::optional<FieldRange> range = ShownRange();
  if (!range) return 0;
  Workspace& ws = ctx_.ws;
  const std::vector<ProductRecord> cleared(static_cast<std::size_t>(range->Rows()),
                                           ClearedRecord());
  KeepServerCopy(kCopyClear);
  std::string error;
  if (!ws.folder.StoreRange(ws.device.baseFileName, range->start - 1, cleared, error)) {
    FailFile(error);
  }
  for (int row = 1; row <= range->Rows(); ++row) ws.table.SetRecord(row, ClearedRecord());
  return Succeed();
}

int TServer::SetPrVes(int num, int prVes) {
  return SetColumn6(Column6Rule::ScalesFlag, num, prVes, 1, kCodeBadScalesFlag);
}

int TServer::SetTovGr(int num, int tovGr) {
  return SetColumn6(Column6Rule::ProductGroup, num, tovGr, 100, kCodeBadProductGroup);
}

int TServer::SetColumn6(Column6Rule rule, int num, int value, int maxValue, int valueCode) {
  const DeviceType* type = DeviceTypeTable::Find(Type());
  if (RefusedType(type && type->column6 == rule)) return 0;
  if (num < 1 || num > type->capacity) return Refuse(kCodeNumberOutsideBase);
  if (value < 0 || value > maxValue) return Refuse(valueCode);
  Workspace& ws = ctx_.ws;
  const std::string text = std::to_string(value);
  std::vector<ProductRecord> records;
  std::string error;
  if (!ws.folder.ReadRecords(ws.device.baseFileName, num - 1, 1, records, error)) FailFile(error);
  records[0].column6 = text;
  if (!ws.folder.StoreRecord(ws.device.baseFileName, num - 1, records[0], error)) FailFile(error);
  // The row of product num, when the table shows it. During an exchange
  // `CurrentRecord` is the exchange's position, so the start field is the
  // origin rather than it.
  if (const std::optional<FieldRange> range = Range();
      range && num >= range->start && num <= range->end) {
    ws.table.SetCell(num - range->start + 1, kCol6, text);
  }
  return Succeed();
}

}  // namespace zel
