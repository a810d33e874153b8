#include "server/server_busy.h"

#include "base/range.h"

namespace zel {
namespace {

constexpr int kRangeStep = 5;
constexpr int kRangeWrapAbove = 95;
constexpr int kTapeWrapAt = 100;

void SetProgress(ServerContext& ctx, int value) {
  ctx.progress = value;
  ctx.view.SetServerProgress(value);
}

void ShowPanel(ServerContext& ctx, bool shown) {
  ctx.panelShown = shown;
  ctx.view.ShowServerPanel(shown);
}

void EnableControls(ControlState& c) {
  c.toolbarEnabled = true;
  c.menusEnabled = true;
  c.rangePanelEnabled = true;
  c.selectBaseEnabled = true;
  c.tableEnabled = true;
  c.Notify();
}

void BackToIdle(ServerContext& ctx) {
  ctx.ws.run.exchangeState = ExchangeState::Idle;
  ShowPanel(ctx, false);
}

}  // namespace

void EnterServerBusy(ServerContext& ctx, BusyScope scope) {
  ctx.ws.run.exchangeState = ExchangeState::Busy;
  ShowPanel(ctx, true);
  SetProgress(ctx, 0);
  // The menus and the range fields lead to the same exchanges and range
  // loads as the toolbar, so they are kept out as well.
  ControlState& c = ctx.ws.controls;
  c.toolbarEnabled = false;
  c.menusEnabled = false;
  c.rangePanelEnabled = false;
  c.selectBaseEnabled = false;
  if (scope == BusyScope::Exchange) c.tableEnabled = false;
  c.Notify();
}

void AdvanceRangeProgress(ServerContext& ctx) {
  const int next = ctx.progress + kRangeStep;
  SetProgress(ctx, next > kRangeWrapAbove ? 0 : next);
}

void AdvanceTapeProgress(ServerContext& ctx) {
  const int next = ctx.progress + 1;
  SetProgress(ctx, next >= kTapeWrapAt ? 0 : next);
}

void FinishServerOperation(ServerContext& ctx, ExchangeKind kind, int code) {
  if (kind == ExchangeKind::Range) {
    if (auto start = ParseRecordNumber(ctx.ws.range.StartText())) {
      ctx.ws.range.CurrentRecord = *start;
    }
  }
  EnableControls(ctx.ws.controls);
  ctx.stepper.Stop();
  ctx.vars.ServerErrorCode = code;
  BackToIdle(ctx);
  ctx.vars.StepStopFlag = true;
  if (ctx.onIdle) ctx.onIdle();
}

void LeaveServerBusy(ServerContext& ctx) {
  EnableControls(ctx.ws.controls);
  BackToIdle(ctx);
  if (ctx.onIdle) ctx.onIdle();
}

}  // namespace zel
