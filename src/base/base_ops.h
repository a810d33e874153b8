// The table <-> base file operations of the active channel: load the range,
// store the range, store one row, clear the range; and the table edits that
// end in a store (confirming a cell, confirming a range). The load and the
// store are the window's `ReadBase` and `WriteBase`, named for the file here
// because the server's members of those names exchange with the device.
#pragma once

#include "base/cell_rules.h"
#include "base/workspace.h"

namespace zel {

/// The missing-file rule: when the active base file is absent, tells the
/// operator and creates it. False when it could not be created (reported).
bool EnsureBaseFile(Workspace& ws);

/// Loads products `CurrentRecord` .. `LastRecord` of the active base file
/// into the table, with the gauge "Подгрузка файла" and `ExchangeState` 1
/// meanwhile (then back to what it was). A file shorter than the range
/// loads what it holds, the rest as new products, and is told once (error
/// box, `shortBaseLoads` counted); it is never shortened. False when nothing
/// was loaded (I/O failure reported; the table keeps what it showed).
bool LoadBaseFile(Workspace& ws);

/// True when table rows 1.. hold exactly the products first..last.
bool TableShowsRange(const ProductTable& table, int first, int last);

/// Makes the table show `CurrentRecord`..`LastRecord` before an operation
/// reads or stores them, loading them from the base file (as confirming the
/// range does) when it shows another range: the menus stay usable while a
/// typed range waits for confirmation, and rows of an older range belong to
/// other products. False when that load failed or found the file shorter
/// than the range (both reported).
bool ShowCheckedRange(Workspace& ws);

/// Stores table rows 1.. into the records of the range in the fields, in
/// one atomic replacement. False when the fields hold no valid range, the
/// table does not show that range, or the file cannot be written (the last
/// two reported).
bool StoreBaseFile(Workspace& ws);

/// Stores row `CurrentProductRow` into the record of the product number in
/// its column 0. False when that number is not a product or on I/O failure.
bool WriteTovar(Workspace& ws);

/// Clears the range in the file and in the table (advancing the gauge).
/// False on an invalid range or an I/O failure (reported).
bool ClearBase(Workspace& ws);

/// Enter, Down, Up or leaving the table on the current cell: validates it
/// and stores its row when the rules allow.
CellOutcome ConfirmCell(Workspace& ws);

/// Another cell is selected: the cell being left is confirmed first.
void SelectCell(Workspace& ws, int row, int col);

/// Column 5 (accounting) is read-only; column 0 is fixed.
bool IsEditableColumn(int col);

/// "Изменить диапазон" or Enter in a range field: checks the range, loads
/// it and leaves the range-edited state. False when the range was rejected.
bool ConfirmRange(Workspace& ws);

}  // namespace zel
