#include "base/base_ops.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/base_record.h"

namespace zel {
namespace {

bool ValidRange(int first, int last) {
  return first >= 1 && last >= first && last <= kBaseFileRecords;
}

bool Report(Workspace& ws, const std::string& error) {
  ws.prompts.Error(error);
  return false;
}

// A file cut short (a crash of another program, a bad copy) loads with its
// missing products as new ones; the operator hears of it before a write
// could send them to the device.
void TellShortFile(Workspace& ws, int first, int last, int64_t held) {
  ++ws.run.shortBaseLoads;
  const int64_t missingFrom = std::max<int64_t>(first, held + 1);
  ws.prompts.Error("Файл " + ws.folder.PathOf(ws.device.baseFileName).string() +
                   " короче диапазона базы: записей в нем " + std::to_string(held) + ", нужно " +
                   std::to_string(last) + ". Товары " + std::to_string(missingFrom) + ".." +
                   std::to_string(last) + " показаны пустыми.");
}

}  // namespace

bool EnsureBaseFile(Workspace& ws) {
  const std::string& name = ws.device.baseFileName;
  if (ws.folder.Exists(name)) return true;
  ws.prompts.Information("Не удалось открыть файл " + name + "\rданный файл будет создан заново.");
  std::string error;
  return ws.folder.CreateBase(name, error) || Report(ws, error);
}

bool LoadBaseFile(Workspace& ws) {
  if (!EnsureBaseFile(ws)) return false;
  // Copies: events processed below may change the held range.
  const int first = ws.range.CurrentRecord;
  const int last = ws.range.LastRecord;
  if (!ValidRange(first, last)) return false;
  // A load inside a running operation leaves it busy.
  const ExchangeState before = ws.run.exchangeState;
  ws.run.exchangeState = ExchangeState::Busy;
  ws.progress.ShowProgress("Подгрузка файла", last - first, false);
  std::vector<ProductRecord> records;
  std::string error;
  int64_t held = 0;
  const bool ok = ws.folder.ReadRecords(ws.device.baseFileName, first - 1, last - first + 1,
                                        records, error, &held);
  // After a failed read the table keeps its rows, so it never seems to
  // hold the range it could not load.
  if (ok) ws.table.SetRowCount(last - first + 2);
  for (int k = first; ok && k <= last; ++k) {
    ws.table.SetRow(k - first + 1, k, records[static_cast<std::size_t>(k - first)]);
    ws.progress.AdvanceProgress();
    ws.progress.ProcessEvents();
  }
  ws.progress.HideProgress();
  ws.run.exchangeState = before;
  if (ok && held < last) TellShortFile(ws, first, last, held);
  return ok || Report(ws, error);
}

bool TableShowsRange(const ProductTable& table, int first, int last) {
  const int rows = last - first + 1;
  return rows >= 1 && table.RowCount() == rows + 1 &&
         table.Cell(1, kColNumber) == std::to_string(first) &&
         table.Cell(rows, kColNumber) == std::to_string(last);
}

bool ShowCheckedRange(Workspace& ws) {
  if (TableShowsRange(ws.table, ws.range.CurrentRecord, ws.range.LastRecord)) return true;
  const int shortLoads = ws.run.shortBaseLoads;
  if (!LoadBaseFile(ws)) return false;
  const bool running = ws.run.exchangeState == ExchangeState::Busy;
  LeaveRangeEdited(ws.controls);
  if (running) DisableForOperation(ws.controls);
  // After a short file's notice the operator decides anew; the table now
  // shows what the file holds.
  return ws.run.shortBaseLoads == shortLoads;
}

bool StoreBaseFile(Workspace& ws) {
  const std::optional<int> first = ParseRecordNumber(ws.range.StartText());
  const std::optional<int> last = ParseRecordNumber(ws.range.EndText());
  if (!first || !last) return false;
  ws.range.CurrentRecord = *first;
  ws.range.LastRecord = *last;
  if (!ValidRange(*first, *last)) return false;
  // Rows the table does not hold would be stored as empty products.
  if (!TableShowsRange(ws.table, *first, *last)) {
    return Report(ws, "Таблица не содержит товары " + std::to_string(*first) + ".." +
                          std::to_string(*last) + ": файл " + ws.device.baseFileName +
                          " не изменен.");
  }
  std::vector<ProductRecord> records;
  records.reserve(static_cast<std::size_t>(*last - *first + 1));
  for (int row = 1; row <= *last - *first + 1; ++row) records.push_back(ws.table.RecordAt(row));
  std::string error;
  return ws.folder.StoreRange(ws.device.baseFileName, *first - 1, records, error) ||
         Report(ws, error);
}

bool WriteTovar(Workspace& ws) {
  if (!EnsureBaseFile(ws)) return false;
  const int row = ws.table.CurrentProductRow;
  const std::optional<int> product = ParseRecordNumber(ws.table.Cell(row, kColNumber));
  if (row < 1 || !product || *product < 1 || *product > kBaseFileRecords) return false;
  std::string error;
  return ws.folder.StoreRecord(ws.device.baseFileName, *product - 1, ws.table.RecordAt(row),
                               error) ||
         Report(ws, error);
}

bool ClearBase(Workspace& ws) {
  if (!EnsureBaseFile(ws)) return false;
  const int first = ws.range.CurrentRecord;
  const int last = ws.range.LastRecord;
  if (!ValidRange(first, last)) return false;
  const std::vector<ProductRecord> cleared(static_cast<std::size_t>(last - first + 1),
                                           ClearedRecord());
  std::string error;
  if (!ws.folder.StoreRange(ws.device.baseFileName, first - 1, cleared, error)) {
    return Report(ws, error);
  }
  for (int k = first; k <= last; ++k) {
    ws.table.SetRecord(k - first + 1, ClearedRecord());
    ws.progress.AdvanceProgress();
    ws.progress.ProcessEvents();
  }
  return true;
}

CellOutcome ConfirmCell(Workspace& ws) {
  const CellOutcome outcome =
      ValidateCell(ws.table, ws.table.CurrentProductRow, ws.table.CurrentProductCol,
                   ws.device.typeText, ws.prompts);
  if (outcome == CellOutcome::SaveRow) WriteTovar(ws);
  return outcome;
}

void SelectCell(Workspace& ws, int row, int col) {
  ConfirmCell(ws);
  ws.table.CurrentProductRow = row;
  ws.table.CurrentProductCol = col;
}

bool IsEditableColumn(int col) {
  return col >= 1 && col < kTableColumns && col != kColAccounting;
}

bool ConfirmRange(Workspace& ws) {
  if (!CheckBaseRange(ws.range, ws.device.typeText, ws.prompts)) return false;
  LoadBaseFile(ws);
  LeaveRangeEdited(ws.controls);
  return true;
}

}  // namespace zel
