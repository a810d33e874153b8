// The automation server over a rig's window state, with a view that shows
// nothing and the event loop its exchanges step on.
#pragma once

#include "base/settings.h"
#include "device_operations.h"
#include "server/server_view.h"
#include "server/tserver.h"

namespace zel::testing {

class SilentServerView final : public ServerView {
 public:
  void ShowServerPanel(bool) override {}
  void SetServerProgress(int) override {}
  void TapeTablesChanged() override {}
  void SetMainWindowVisible(bool) override {}
};

struct ServerSide {
  explicit ServerSide(OperationRun& r);
  SilentServerView view;
  Settings settings;
  TServer server;
};

}  // namespace zel::testing
