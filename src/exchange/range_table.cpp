#include "exchange/range_table.h"

#include <string>

#include "base/base_ops.h"

namespace zel {

bool TableShowsRange(const ProductTable& table, int first, int last) {
  const int rows = last - first + 1;
  return rows >= 1 && table.RowCount() == rows + 1 &&
         table.Cell(1, kColNumber) == std::to_string(first) &&
         table.Cell(rows, kColNumber) == std::to_string(last);
}

bool ShowCheckedRange(Workspace& ws) {
  if (TableShowsRange(ws.table, ws.range.CurrentRecord, ws.range.LastRecord)) return true;
  if (!ReadBase(ws)) return false;
  LeaveRangeEdited(ws.controls);
  return true;
}

}  // namespace zel
