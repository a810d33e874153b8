// The server's exchanges in the fault suites: the range exchanges step on
// the event loop until the worker ends; the slot list completes in its call.
#include <QCoreApplication>

#include "base/device_types.h"
#include "server_side.h"
#include "support/qt_core.h"

namespace zel::testing {
namespace {

constexpr int kMaxTurns = 100000;

void RunSteps(OperationRun& r) {
  TServer& s = r.server->server;
  for (int turn = 0; s.Context().stepper.Running() && turn < kMaxTurns; ++turn)
    QCoreApplication::processEvents();
}

// A member that refused to start leaves a code other than the link
// failure's, which the suite counts as a wrong outcome.
template <int (TServer::*Start)()>
void RunRange(OperationRun& r) {
  TServer& s = r.server->server;
  if ((s.*Start)() == 1) RunSteps(r);
  r.serverCode = s.GetBaseError();
}

// Confirming the client's range reloads the rows from the base file, so
// what marks the rows as old comes after it.
template <void (*Prepare)(OperationRun&), void (*Mark)(OperationRun&)>
void WithServer(OperationRun& r) {
  Prepare(r);
  QtCore();
  r.server = std::make_unique<ServerSide>(r);
  r.server->server.SetRange(1, kRangeRecords);
  Mark(r);
  r.rig.Prompts().Clear();
}

void Nothing(OperationRun&) {}

// The server's exchanges refuse the ЖРМ 200.
bool ServerTakes(OperationRun& r) {
  return r.rig.Ws().device.typeText != kTypeZhrm200;
}
bool ServerTakesTapes(OperationRun& r) {
  return ServerTakes(r) && HasTapes(r);
}
void FillRows(OperationRun& r) {
  r.rig.FillRows(kRangeRecords);
}

void PrepareSlotRead(OperationRun& r) {
  WithServer<PrepareTapes, Nothing>(r);
  r.server->server.ReadBlockKL();
}
void RunSlots(OperationRun& r) {
  r.server->server.ReadBlockKL();
  r.serverCode = r.server->server.GetBaseError();
}
void RunSlotRead(OperationRun& r) {
  TServer& s = r.server->server;
  if (s.ReadKL(ServerValue(1)) == 1) RunSteps(r);
  r.serverCode = s.GetBaseError();
}

}  // namespace

ServerSide::ServerSide(OperationRun& r)
    : settings(r.rig.Dir()), server(r.rig.Ws(), r.tapes, view, settings) {}

std::vector<DeviceOperation> ServerOperations() {
  constexpr FailureSign code = FailureSign::ServerCode;
  return {
      {"server read", ServerTakes, WithServer<PrepareRead, MarkRowsOld>,
       RunRange<&TServer::ReadBase>, ObserveRows, true, code},
      {"server write", ServerTakes, WithServer<PrepareWrite, FillRows>,
       RunRange<&TServer::WriteBase>, ObserveRecords, false, code},
      {"server accounting", ServerTakes, WithServer<PrepareAccounting, MarkAccountingOld>,
       RunRange<&TServer::ReadUchet>, ObserveAccounting, true, code},
      {"server reset", ServerTakes, WithServer<PrepareAccounting, MarkAccountingOld>,
       RunRange<&TServer::ClearUchet>, ObserveAccounting, false, code},
      {"server slots", ServerTakesTapes, WithServer<PrepareTapes, Nothing>, RunSlots, ObserveTapes,
       true, code},
      {"server slot read", ServerTakesTapes, PrepareSlotRead, RunSlotRead, ObservePurchases, true,
       code},
  };
}

}  // namespace zel::testing
