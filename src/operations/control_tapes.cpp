#include "operations/control_tapes.h"

#include "base/active_device.h"
#include "base/base_ops.h"
#include "base/history_ops.h"
#include "operations/driver_factory.h"
#include "operations/exchange_run.h"

namespace zel {
namespace {

constexpr const char* kTapeCaption = "Чтение КЛ";
constexpr const char* kEraseCaption = "Очистка КЛ";
constexpr const char* kBaseCaption = "Чтение базы";
constexpr const char* kTapeFailed = "Ошибка RS-232 или неверный номер ЖРМ 3(+)";
constexpr const char* kEraseFailed = "Ошибка RS232 или неверный номер ЖРМ 3";
constexpr const char* kChosenMark = "***";
constexpr int kFinishPauseMs = 50;
constexpr int kEraseTicks = 10;
constexpr int kEraseTickMs = 100;

void HideGauge(Workspace& ws) {
  ws.progress.HideProgress();
}

// Adds row k for a block; false at the end of the list or after the current block.
bool AddBlockRow(TapeTables& tapes, const TapeBlockInfo& info) {
  if (info.endOfList) return false;
  if (info.current) {
    tapes.blocks.push_back({"", "Текущая", "", std::to_string(info.purchases)});
    return false;
  }
  tapes.blocks.push_back(
      {"", std::to_string(info.tapeNumber), info.date, std::to_string(info.purchases)});
  return true;
}

void FinishListing(Workspace& ws, TapeTables& tapes, int maximum) {
  ws.progress.ShowProgress(kTapeCaption, maximum, false);
  for (int i = 0; i < maximum; ++i) ws.progress.AdvanceProgress();
  ws.link.LinkDelay(kFinishPauseMs);
  HideGauge(ws);
  // An empty listing has no row to fix or mark; a later tape read then
  // finds no chosen block and stops quietly.
  if (tapes.blocks.empty()) return;
  tapes.blocksHeaderFixed = true;
  tapes.blocks[0][0] = kChosenMark;
}

void AddPurchaseRow(Workspace& ws, TapeTables& tapes, const TapePurchase& p) {
  const int row = p.productNumber;
  tapes.purchases.push_back({std::to_string(p.productNumber), ws.table.Cell(row, kColName),
                             ws.table.Cell(row, kColPrice), p.quantity,
                             p.isReturn ? "Возврат" : "Продажа"});
}

// Applies the reminder window's choice; false when the tape read must stop.
bool ApplyReminderChoice(Workspace& ws) {
  switch (ws.options.reminderMode) {
    case kRemindNever:
      ws.options.reminderMenuTicked = false;
      return true;
    case kReadBaseWithoutReminder:
      ws.options.reminderMenuTicked = false;
      return ReadWholeBaseForTape(ws);
    default:
      ws.options.reminderMenuTicked = true;
      return true;
  }
}

}  // namespace

void TapeTables::ChooseBlock(int row) {
  if (row < 1 || row > static_cast<int>(blocks.size())) return;
  for (auto& b : blocks) b[0].clear();
  blocks[static_cast<std::size_t>(row - 1)][0] = kChosenMark;
}

int TapeTables::ChosenBlock() const {
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (blocks[i][0] == kChosenMark) return static_cast<int>(i + 1);
  }
  return 0;
}

void ListTapeBlocks(Workspace& ws, TapeTables& tapes) {
  if (!Set_Zhrm(ws)) return;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active)) return;
  tapes.blocks.clear();
  tapes.blocksHeaderFixed = false;
  const int blockCount = active.driver->TapeBlocks();
  ws.progress.ShowProgress(kTapeCaption, blockCount, false);
  for (int k = 1; k <= blockCount; ++k) {
    TapeBlockInfo info;
    if (!active.driver->ReadTapeBlockInfo(static_cast<uint8_t>(k), info)) {
      ws.prompts.Error(kTapeFailed);
      return HideGauge(ws);
    }
    if (!AddBlockRow(tapes, info)) break;
    ws.progress.AdvanceProgress();
  }
  FinishListing(ws, tapes, blockCount);
}

void ReadChosenTape(Workspace& ws, TapeTables& tapes, TapeReminder& reminder) {
  if (!Set_Zhrm(ws)) return;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active)) return;
  ws.range.SetStartText("1");
  ws.range.SetEndText(std::to_string(active.type->capacity));
  ConfirmRange(ws);
  if (ws.options.reminderMenuTicked && !reminder.Show(ws.options.reminderMode)) return;
  if (!ApplyReminderChoice(ws)) return;

  tapes.purchases.clear();
  tapes.purchasesHeaderFixed = false;
  ws.progress.ShowProgress(kTapeCaption, 0, false);
  const int block = tapes.ChosenBlock();
  if (block == 0) return HideGauge(ws);
  const int count =
      ParseRecordNumber(tapes.blocks[static_cast<std::size_t>(block - 1)][3]).value_or(0);
  ws.progress.ShowProgress(kTapeCaption, count, false);
  for (int j = 1; j <= count; ++j) {
    TapePurchase purchase;
    if (!active.driver->ReadTapeRecord(static_cast<uint16_t>(j), static_cast<uint8_t>(block),
                                       purchase)) {
      ws.prompts.Error(kTapeFailed);
      return HideGauge(ws);
    }
    AddPurchaseRow(ws, tapes, purchase);
    ws.progress.AdvanceProgress();
    ws.progress.ProcessEvents();
  }
  if (count > 0) tapes.purchasesHeaderFixed = true;
  ws.link.LinkDelay(kFinishPauseMs);
  HideGauge(ws);
}

bool ReadWholeBaseForTape(Workspace& ws) {
  ws.run.stopRequested = false;
  if (!Set_Zhrm(ws)) return false;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active) || !KeepBaseBeforeChange(ws, kCopyRead)) return false;
  BeginExchange(ws, kBaseCaption);
  const int capacity = active.type->capacity;
  ws.range.SetStartText("1");
  ws.range.SetEndText(std::to_string(capacity));
  ws.range.CurrentRecord = 1;
  ws.range.LastRecord = capacity;
  // Columns the tape read does not send come from the base file.
  if (!ShowCheckedRange(ws)) {
    EndExchange(ws);
    return false;
  }
  SetGaugeMaximum(ws, kBaseCaption, capacity - 1);
  std::vector<ProductRecord> record(1);
  for (int n = 1; n <= capacity; ++n) {
    if (StopPressed(ws)) {
      EndExchange(ws);
      StoreBaseFile(ws);
      return false;
    }
    if (!active.driver->ReadProducts(static_cast<uint16_t>(n - 1), record)) {
      ws.prompts.Error(kTapeFailed);
      EndExchange(ws);
      return false;
    }
    ws.table.SetCell(n, kColBarcode, record[0].barcode);
    ws.table.SetCell(n, kColPrice, record[0].price);
    ws.table.SetCell(n, kColName, record[0].name);
    ws.table.SetCell(n, kColSection, record[0].section);
    ws.progress.AdvanceProgress();
    ws.progress.ProcessEvents();
  }
  EndExchange(ws);
  return true;
}

void EraseTapes(Workspace& ws, TapeTables& tapes) {
  if (!Set_Zhrm(ws)) return;
  if (!ws.prompts.AskYesNo("Хотите очистить блок КЛ ?")) return;
  ActiveDriver active;
  if (!OpenActiveDriver(ws, active)) return;
  ws.progress.ShowProgress(kEraseCaption, kEraseTicks, false);
  if (active.driver->ClearTapeBlocks()) {
    for (int i = 0; i < kEraseTicks; ++i) {
      ws.progress.AdvanceProgress();
      ws.link.LinkDelay(kEraseTickMs);
    }
    tapes = TapeTables{};
  } else {
    ws.prompts.Information(kEraseFailed);
  }
  HideGauge(ws);
}

}  // namespace zel
