#include "exchange/import_run.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "base/base_ops.h"
#include "base/history_ops.h"
#include "base/range.h"
#include "exchange/zel_base_file.h"

namespace zel {
namespace {

bool IsReadableFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

void PutRecord(ProductTable& table, int row, ProductRecord&& record, bool group) {
  table.SetCell(row, kColName, std::move(record.name));
  table.SetCell(row, kColPrice, std::move(record.price));
  table.SetCell(row, kColSection, std::move(record.section));
  table.SetCell(row, kColBarcode, std::move(record.barcode));
  table.SetCell(row, kColAccounting, std::move(record.accounting));
  if (group) table.SetCell(row, kCol6, std::move(record.column6));
}

}  // namespace

bool BeginImport(Workspace& ws, ImportHost& host) {
  host.ClearStopRequest();
  return CheckBaseRange(ws.range, ws.device.typeText, ws.prompts);
}

bool ImportFromFile(Workspace& ws, ImportHost& host, const std::string& path, int filterIndex) {
  if (!IsReadableFile(path)) {
    ws.prompts.Information("Файл не найден");
    return false;
  }
  if (!KeepBaseBeforeChange(ws, kCopyImport)) return false;
  if (filterIndex == static_cast<int>(ImportFormat::ZelBase)) return RunZelBaseImport(ws, path);
  if (filterIndex != static_cast<int>(ImportFormat::Text)) return false;
  const TextImportResult result = RunTextImport(ws, host, path);
  return !result.failed && !result.stopped;
}

bool RunZelBaseImport(Workspace& ws, const std::string& path) {
  if (!ShowCheckedRange(ws)) return false;
  const int slots = ws.range.LastRecord - ws.range.CurrentRecord + 1;
  std::vector<ProductRecord> records;
  std::string error;
  if (!ReadZelBaseFile(path, slots, records, error)) {
    ws.prompts.Error(error);
    return false;
  }
  const bool group = ZelBaseCarriesGroup(ws.device.typeText);
  for (std::size_t i = 0; i < records.size(); ++i) {
    PutRecord(ws.table, static_cast<int>(i) + 1, std::move(records[i]), group);
  }
  return StoreBaseFile(ws);
}

}  // namespace zel
