// State shared by every long operation of the window and the automation
// server, and the seam through which they show progress and keep the window
// responsive.
#pragma once

#include <string>

namespace zel {

/// 1 while a device exchange or a base-file load runs, 2 when idle. The
/// automation server refuses new work while it is Busy.
enum class ExchangeState : int { Busy = 1, Idle = 2 };

struct RunState {
  ExchangeState exchangeState = ExchangeState::Idle;
  /// Set by "Стоп" and by closing the window; long loops test it.
  bool stopRequested = false;
  /// Loads that found the base file shorter than their range (each told
  /// the operator once); the command line and the server read it.
  int shortBaseLoads = 0;
};

/// The status panel of the window (gauge, caption, "Стоп") and its event loop.
class ProgressHost {
 public:
  virtual ~ProgressHost() = default;
  /// Shows the gauge at 0 of `totalSteps` under `caption`; `withStop` also
  /// shows the "Стоп" button.
  virtual void ShowProgress(const std::string& caption, int totalSteps, bool withStop) = 0;
  /// The gauge's text counts `products` over its steps ("812 / 4096") until
  /// it is hidden; its steps may be blocks of four, or one fewer than the
  /// products. Without it the text counts the steps.
  virtual void CountProducts(int products) { (void)products; }
  /// Advances the gauge by one step.
  virtual void AdvanceProgress() = 0;
  /// Hides the gauge, its caption and "Стоп".
  virtual void HideProgress() = 0;
  /// Runs pending window events (clicks, timers, automation calls).
  virtual void ProcessEvents() = 0;
};

}  // namespace zel
