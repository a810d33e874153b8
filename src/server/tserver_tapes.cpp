// The control-tape members: the slot list read inside the call, and the
// cursors over the slot list and the goods of one tape.
#include "base/device_types.h"
#include "operations/driver_factory.h"
#include "server/server_busy.h"
#include "server/server_codes.h"
#include "server/tserver.h"

namespace zel {
namespace {

constexpr const char* kChosenMark = "***";
constexpr const char* kCurrentTape = "Текущая";

// Adds the slot row; false when the list ends with it (or before it).
bool AddSlotRow(TapeTables& tapes, const TapeBlockInfo& info) {
  if (info.endOfList) return false;
  if (info.current) {
    tapes.blocks.push_back({"", kCurrentTape, "", std::to_string(info.purchases)});
    return false;
  }
  tapes.blocks.push_back(
      {"", std::to_string(info.tapeNumber), info.date, std::to_string(info.purchases)});
  return true;
}

}  // namespace

int TServer::ReadBlockKL() {
  if (RefusedBusy() || RefusedType(IsTapeType()) || RefusedChannel()) return 0;
  std::unique_ptr<DeviceDriver> driver = MakeDriver(Type(), ctx_.ws.link);
  if (!driver) throw ServerFailure("no driver for the active type");
  TapeTables& tapes = ctx_.tapes;
  tapes.blocks.clear();
  tapes.blocksHeaderFixed = false;
  ctx_.view.TapeTablesChanged();
  EnterServerBusy(ctx_, BusyScope::TapeRead);
  const int slotCount = driver->TapeBlocks();
  for (int s = 1; s <= slotCount; ++s) {
    TapeBlockInfo info;
    if (!driver->ReadTapeBlockInfo(static_cast<uint8_t>(s), info)) {
      ctx_.view.TapeTablesChanged();
      ctx_.vars.ServerErrorCode = kCodeLinkFailure;
      LeaveServerBusy(ctx_);
      return 0;
    }
    const bool more = AddSlotRow(tapes, info);
    ctx_.view.TapeTablesChanged();
    if (!more) break;
    AdvanceRangeProgress(ctx_);
    ctx_.ws.progress.ProcessEvents();
  }
  // An empty list has no row to mark; a later ReadKL finds no slot.
  tapes.blocksHeaderFixed = true;
  if (!tapes.blocks.empty()) tapes.blocks[0][0] = kChosenMark;
  ctx_.view.TapeTablesChanged();
  ctx_.vars.SlotKLCountValue = static_cast<int>(tapes.blocks.size());
  LeaveServerBusy(ctx_);
  return Succeed();
}

int TServer::GetNextBlockKL() {
  if (RefusedBusy() || RefusedType(IsTapeType())) return 0;
  ServerVariables& v = ctx_.vars;
  if (v.BlockKLCursor < 1 || v.BlockKLCursor > static_cast<int>(ctx_.tapes.blocks.size())) {
    return Refuse(kCodeEndOfTable);
  }
  const auto& row = ctx_.tapes.blocks[static_cast<std::size_t>(v.BlockKLCursor - 1)];
  v.KLNumber = row[1];
  v.KLDate = row[2];
  v.KLKolvo = row[3];
  ++v.BlockKLCursor;
  return Succeed();
}

int TServer::SetTopBlockKL() {
  if (RefusedBusy() || RefusedType(IsTapeType())) return 0;
  ctx_.vars.BlockKLCursor = 1;
  return Succeed();
}

int TServer::GetNextTovarKL() {
  if (RefusedBusy() || RefusedType(IsTapeType())) return 0;
  ServerVariables& v = ctx_.vars;
  if (v.TovarKLCursor < 1 || v.TovarKLCursor > static_cast<int>(ctx_.tapes.purchases.size())) {
    return Refuse(kCodeEndOfTable);
  }
  const auto& row = ctx_.tapes.purchases[static_cast<std::size_t>(v.TovarKLCursor - 1)];
  v.Number = row[0];
  v.Name = row[1];
  v.Price = row[2];
  v.Uchet = row[3];
  ++v.TovarKLCursor;
  return Succeed();
}

int TServer::SetTopTovarKL() {
  if (RefusedBusy() || RefusedType(IsTapeType())) return 0;
  ctx_.vars.TovarKLCursor = 1;
  return Succeed();
}

}  // namespace zel
