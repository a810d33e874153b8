// The export command of the window ("Экспорт данных в файл"): the range
// check before the save dialog, then the file of the chosen type.
#pragma once

#include <string>
#include <string_view>

#include "base/product_table.h"
#include "base/workspace.h"
#include "common/prompts.h"
#include "exchange/file_dialogs.h"

namespace zel {

/// The file types of the export dialog, in its filter order.
enum class ExportFormat { Csv = 0, Text = 1, ZelBase = 2 };

/// Step before the dialog: checks the range. False when it was rejected
/// (reported) and no dialog may be shown.
bool BeginExport(Workspace& ws);

/// The operator chose `chosenName` with filter `filterIndex` (0-based) in
/// `dialog`: completes the name, keeps it in the dialog and writes table
/// rows of the checked range to it. False when nothing (or not all) was
/// written; the operator has been told why.
bool ExportToFile(Workspace& ws, FileDialogState& dialog, const std::string& chosenName,
                  int filterIndex);

/// The bytes of table rows 1..rowCount in `format`.
std::string FormatExport(const ProductTable& table, int rowCount, std::string_view typeName,
                         ExportFormat format);

/// Writes table rows 1..rowCount in `format` to `path`. False after telling
/// the operator (the text types ask to remove write protection).
bool ExportRows(const ProductTable& table, int rowCount, std::string_view typeName,
                ExportFormat format, const std::string& path, Prompts& prompts);

}  // namespace zel
