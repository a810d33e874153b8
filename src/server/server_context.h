// Everything a server member or step works on: the window's workspace and
// tape tables, the window's server view, the settings, the server
// variables and the stepper of the running exchange.
#pragma once

#include <functional>

#include "base/settings.h"
#include "base/workspace.h"
#include "operations/control_tapes.h"
#include "server/exchange_stepper.h"
#include "server/server_state.h"
#include "server/server_view.h"

namespace zel {

struct ServerContext {
  ServerContext(Workspace& ws, TapeTables& tapes, ServerView& view, Settings& settings)
      : ws(ws), tapes(tapes), view(view), settings(settings) {
    stepper.SetPrompts(&ws.prompts);
    // Each step starts from the event loop: its first wait need not pump.
    stepper.SetBeforeStep([&link = ws.link] { link.EventsRan(); });
  }

  Workspace& ws;
  TapeTables& tapes;
  ServerView& view;
  Settings& settings;

  ServerVariables vars;
  bool panelShown = false;  ///< `Panel1`
  int progress = 0;         ///< `ProgressBar1`, 0..100
  ExchangeStepper stepper;
  /// Called each time a server operation has returned to idle.
  std::function<void()> onIdle;
};

}  // namespace zel
