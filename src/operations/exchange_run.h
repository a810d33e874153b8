// The window's side of a running device loop: busy state, gauge, disabled
// controls, the stop test and the return to idle. Shared by every long
// operation so that each of them ends the same way.
#pragma once

#include <functional>
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
/// How a device loop ended.
enum class LoopEnd { Done, Stopped, Failed };

/// `SetEnabledAll`, then `whileEnding` (what the operation still does with
/// the window idle, the base file store for one), then `ExchangeState` 2.
void EndExchange(Workspace& ws, const std::function<void()>& whileEnding = nullptr);
/// `EndExchange` storing the range into the base file unless the loop
/// failed: the end of the accounting operations.
void EndStoringExchange(Workspace& ws, LoopEnd end);

}  // namespace zel
