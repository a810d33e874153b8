// The window's side of a running device loop: busy state, gauge, disabled
// controls, the stop test and the return to idle. Shared by every long
// operation so that each of them ends the same way.
#pragma once

#include <functional>
#include <string>

#include "base/workspace.h"
#include "operations/step_plan.h"

namespace zel {

/// `ExchangeState` 1, gauge at 0 under `caption` with "Стоп", commands off.
void BeginExchange(Workspace& ws, const std::string& caption);
/// The gauge's maximum once the range is known (`LastRecord` - `CurrentRecord`).
void SetGaugeMaximum(Workspace& ws, const std::string& caption, int maximum);
/// Processes pending window events; true when "Стоп" was pressed.
bool StopPressed(Workspace& ws);

/// How a device loop ended.
enum class LoopEnd { Done, Stopped, Failed };

/// One step of a device loop; false when it failed (and said so).
using StepRun = std::function<bool(const DeviceStep&)>;

/// The device loop over the checked range in `plan`'s steps: counters and
/// gauge set, then each step after the stop test and window events, the
/// gauge and `CurrentRecord` advancing; the full gauge at the end.
LoopEnd RunRangeLoop(Workspace& ws, const std::string& caption, const StepPlan& plan,
                     const StepRun& step);

/// `SetEnabledAll`, then `whileEnding` (what the operation still does with
/// the window idle, the base file store for one), then `ExchangeState` 2.
void EndExchange(Workspace& ws, const std::function<void()>& whileEnding = nullptr);
/// `EndExchange` storing the range into the base file unless the loop
/// failed: the end of the accounting operations.
void EndStoringExchange(Workspace& ws, LoopEnd end);

}  // namespace zel
