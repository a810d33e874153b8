#include "operations/exchange_run.h"

#include <optional>

#include "base/base_ops.h"
#include "base/range.h"

namespace zel {
namespace {

constexpr int kEndPauseMs = 300;

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

void FinishGauge(Workspace& ws, const std::string& caption) {
  ws.progress.ShowProgress(caption, 1, true);
  ws.progress.AdvanceProgress();
  ws.link.LinkDelay(kEndPauseMs);
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
