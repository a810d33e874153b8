// The long operations of the main window, UI-free: each runs to its end on
// the caller's thread, processing window events between device steps, and
// reports through the workspace's Prompts and ProgressHost.
#pragma once

#include "base/workspace.h"

namespace zel {

/// "Чтение активной базы": the range from the device into the table and
/// the base file, with the accounting when the operator asks for it.
void ReadActiveBase(Workspace& ws);

/// "Запись активной базы": the range from the table into the device.
void WriteActiveBase(Workspace& ws);

/// "Чтение данных товароучета": column 5 of the range from the device.
/// True when the range was stored into the base file.
bool ReadAccounting(Workspace& ws);
/// The same, following a base read that already kept a copy of the file.
bool ReadAccountingAfterRead(Workspace& ws);

/// "Сброс данных товароучета": the device's counters of the range to zero.
void ResetAccounting(Workspace& ws);

/// "Очистка таблицы базы товаров": empties the range in table and base file.
void ClearTable(Workspace& ws);

}  // namespace zel
