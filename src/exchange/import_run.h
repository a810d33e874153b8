// The import command of the window ("Импорт данных из файла"): the range
// check before the open dialog, then the text import or the ZEL_Base record
// import of the chosen file.
#pragma once

#include <string>

#include "base/workspace.h"
#include "exchange/text_import.h"

namespace zel {

/// The file types of the import dialog, in its filter order.
enum class ImportFormat { Text = 0, ZelBase = 1 };

/// Steps before the dialog: clears the report's stop request and checks the
/// range. False when the range was rejected (reported): no dialog.
bool BeginImport(Workspace& ws, ImportHost& host);

/// The operator chose `path` with filter `filterIndex` (0-based): "Файл не
/// найден" for a path that is not a regular file, otherwise the import of
/// that type. False when nothing was imported in full.
bool ImportFromFile(Workspace& ws, ImportHost& host, const std::string& path, int filterIndex);

/// Takes the records of a ZEL_Base file into table rows 1.. of the checked
/// range (columns 1..5, and 6 for the cash register) without checks, then
/// stores the range in the base file (`StoreBaseFile`). Records beyond the range
/// are not read; rows after the last record keep their contents. A file that
/// cannot be read changes nothing. False when reported as failed.
bool RunZelBaseImport(Workspace& ws, const std::string& path);

}  // namespace zel
