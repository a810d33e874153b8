#include "operations/exchange_run.h"

#include <optional>

#include "base/base_ops.h"
#include "base/range.h"

namespace zel {
namespace {

constexpr int kEndPauseMs = 300;

// Gauge full, then the devices' 300 ms pause before the window returns.
void FinishGauge(Workspace& ws, const std::string& caption) {
  ws.progress.ShowProgress(caption, 1, true);
  ws.progress.AdvanceProgress();
  ws.link.LinkDelay(kEndPauseMs);
}

}  // namespace

void BeginExchange(Workspace& ws, const std::string& caption) {
  ws.run.exchangeState = ExchangeState::Busy;
  ws.progress.ShowProgress(caption, 0, true);
  DisableForOperation(ws.controls);
}

void SetGaugeMaximum(Workspace& ws, const std::string& caption, int maximum) {
  ws.progress.ShowProgress(caption, maximum, true);
  const std::optional<int> first = ParseRecordNumber(ws.range.StartText());
  const std::optional<int> last = ParseRecordNumber(ws.range.EndText());
  if (first && last && *last >= *first) ws.progress.CountProducts(*last - *first + 1);
}

bool StopPressed(Workspace& ws) {
  ws.progress.ProcessEvents();
  return ws.run.stopRequested;
}

LoopEnd RunRangeLoop(Workspace& ws, const std::string& caption, const StepPlan& plan,
                     const StepRun& step) {
  int rowCounter = plan.Start(ws.range, ws.range.CurrentRecord, ws.range.LastRecord);
  SetGaugeMaximum(ws, caption, ws.range.LastRecord - ws.range.CurrentRecord);
  for (; ws.range.CurrentRecord <= ws.range.LastRecord; ++rowCounter) {
    if (StopPressed(ws)) return LoopEnd::Stopped;
    ws.progress.ProcessEvents();
    if (!step(plan.At(ws.range.CurrentRecord, rowCounter))) return LoopEnd::Failed;
    ws.progress.AdvanceProgress();
    ++ws.range.CurrentRecord;
  }
  FinishGauge(ws, caption);
  return LoopEnd::Done;
}

void EndExchange(Workspace& ws, const std::function<void()>& whileEnding) {
  SetEnabledAll(ws.controls, ws.range, ws.progress);
  if (whileEnding) whileEnding();
  ws.run.exchangeState = ExchangeState::Idle;
}

void EndStoringExchange(Workspace& ws, LoopEnd end) {
  EndExchange(ws, [&] {
    if (end != LoopEnd::Failed) StoreBaseFile(ws);
  });
}

}  // namespace zel
