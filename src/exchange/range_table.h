// The exchange commands work on the range the fields hold after
// `CheckBaseRange`. The menus stay usable while a changed range waits for
// confirmation, so the table may still show an older range; its rows then
// belong to other product numbers and must not be exported or stored as
// the checked range.
#pragma once

#include "base/product_table.h"
#include "base/workspace.h"

namespace zel {

/// True when table rows 1.. hold exactly the products first..last.
bool TableShowsRange(const ProductTable& table, int first, int last);

/// Makes the table show `CurrentRecord`..`LastRecord`, loading it from the
/// base file (as confirming the range does) when it shows another range.
/// False when that load failed (reported).
bool ShowCheckedRange(Workspace& ws);

}  // namespace zel
