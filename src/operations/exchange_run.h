// The window's side of a running device loop: busy state, gauge, disabled
// controls, the stop test and the return to idle. Shared by every long
// operation so that each of them ends the same way.
#pragma once

#include <string>

#include "base/workspace.h"

namespace zel {

/// `ExchangeState` 1, gauge at 0 under `caption` with "Стоп", commands off.
void BeginExchange(Workspace& ws, const std::string& caption);
/// The gauge's maximum once the range is known (`LastRecord` - `CurrentRecord`).
void SetGaugeMaximum(Workspace& ws, const std::string& caption, int maximum);
/// Processes pending window events; true when "Стоп" was pressed.
bool StopPressed(Workspace& ws);
/// Gauge full, then the devices' 300 ms pause before the window returns.
void FinishGauge(Workspace& ws, const std::string& caption);
/// `SetEnabledAll` and `ExchangeState` 2.
void EndExchange(Workspace& ws);

}  // namespace zel
