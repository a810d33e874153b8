#include "exchange/export_run.h"

#include "base/base_ops.h"
#include "base/range.h"
#include "exchange/export_formats.h"
#include "exchange/file_output.h"
#include "exchange/zel_base_file.h"

namespace zel {

bool BeginExport(Workspace& ws) {
  return CheckBaseRange(ws.range, ws.device.typeText, ws.prompts);
}

bool ExportToFile(Workspace& ws, FileDialogState& dialog, const std::string& chosenName,
                  int filterIndex) {
  const std::string ext = dialog.ExtOf(filterIndex);
  if (ext.empty()) return false;
  dialog.fileName = CompleteFileName(chosenName, ext);
  dialog.filterIndex = filterIndex;
  if (!ShowCheckedRange(ws)) return false;
  const int rows = ws.range.LastRecord - ws.range.CurrentRecord + 1;
  return ExportRows(ws.table, rows, ws.device.typeText, static_cast<ExportFormat>(filterIndex),
                    dialog.fileName, ws.prompts);
}

std::string FormatExport(const ProductTable& table, int rowCount, std::string_view typeName,
                         ExportFormat format) {
  switch (format) {
    case ExportFormat::Csv:
      return ExportCsv(table, rowCount);
    case ExportFormat::Text:
      return ExportText(table, rowCount);
    case ExportFormat::ZelBase:
      return ExportZelBase(table, rowCount, typeName);
  }
  return {};
}

bool ExportRows(const ProductTable& table, int rowCount, std::string_view typeName,
                ExportFormat format, const std::string& path, Prompts& prompts) {
  const CreateFailureReport report = format == ExportFormat::ZelBase
                                         ? CreateFailureReport::GeneralError
                                         : CreateFailureReport::AskToUnprotect;
  return WriteExchangeFile(path, FormatExport(table, rowCount, typeName, format), report, prompts);
}

}  // namespace zel
