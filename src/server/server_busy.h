// The window while the server exchanges data with the active base: the red
// bar and its wrapping progress, the controls that keep the operator out,
// `ExchangeState`, and `FinishServerOperation`, the one way back to idle.
#pragma once

#include "server/server_context.h"

namespace zel {

/// What a server operation keeps the operator away from.
enum class BusyScope {
  Exchange,  ///< toolbar, menus, range, "Выбор базы" and the table
  TapeRead,  ///< the same but the table
};

/// `Panel1` shown with its progress at 0, controls off, `ExchangeState` 1.
void EnterServerBusy(ServerContext& ctx, BusyScope scope);

/// A range exchange did one step: progress + 5, back to 0 above 95.
void AdvanceRangeProgress(ServerContext& ctx);
/// A tape read did one step: progress + 1, back to 0 at 100.
void AdvanceTapeProgress(ServerContext& ctx);

/// Which exchange is finishing: a tape read keeps `CurrentRecord`.
enum class ExchangeKind { Range, Tape };

/// Ends the running exchange with `code`: `CurrentRecord` back to the range
/// start (range exchanges), controls on, no further step, `ExchangeState` 2,
/// `Panel1` hidden, `StepStopFlag` set.
void FinishServerOperation(ServerContext& ctx, ExchangeKind kind, int code);

/// Back to idle after an operation that ran inside its call (`ReadBlockKL`).
void LeaveServerBusy(ServerContext& ctx);

}  // namespace zel
