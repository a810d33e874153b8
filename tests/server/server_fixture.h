// TServer over a workspace on the simulated line, with a view that records
// what the window would show, and an event loop to run the exchange steps.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>
#include <string>
#include <vector>

#include "base/settings.h"
#include "operations/control_tapes.h"
#include "operations/operations_fixture.h"
#include "server/server_codes.h"
#include "server/server_view.h"
#include "server/tserver.h"
#include "support/qt_core.h"

namespace zel::testing {

class RecordingServerView final : public ServerView {
 public:
  void ShowServerPanel(bool shown) override {
    panelShown = shown;
    panelCalls.push_back(shown);
  }
  void SetServerProgress(int value) override { progress.push_back(value); }
  void TapeTablesChanged() override { ++tapeChanges; }
  void SetMainWindowVisible(bool visible) override { visibility.push_back(visible); }

  bool panelShown = false;
  std::vector<bool> panelCalls;
  std::vector<int> progress;
  int tapeChanges = 0;
  std::vector<bool> visibility;
};

/// Makes sure the application object exists before any timer does.
struct WithQtCore {
  WithQtCore() { QtCore(); }
};

class ServerTest : private WithQtCore, public OperationsTest {
 protected:
  ServerTest() : settings(dir.path()), server(ws, tapes, view, settings) {}

  /// Channel 1 of `type` active and the range Start..End confirmed.
  void ActivateRange(const std::string& type, int start, int end) {
    Activate(type);
    ASSERT_EQ(server.SetRange(start, end), 1);
    prompts.Clear();
  }

  /// Runs exchange steps until the server is idle; the steps it took.
  int RunExchange() {
    int turns = 0;
    while (server.Context().stepper.Running() && turns < kMaxTurns) {
      QCoreApplication::processEvents();
      ++turns;
    }
    EXPECT_LT(turns, kMaxTurns) << "the exchange did not end";
    return turns;
  }

  /// Product record n - 1 as the active base file holds it.
  ProductRecord Stored(int n) {
    std::vector<ProductRecord> records;
    std::string error;
    EXPECT_TRUE(ws.folder.ReadRecords(ws.device.baseFileName, n - 1, 1, records, error)) << error;
    return records.empty() ? ProductRecord{} : records[0];
  }

  int Code() const { return server.GetBaseError(); }

  static constexpr int kMaxTurns = 100000;

  TapeTables tapes;
  RecordingServerView view;
  Settings settings;
  TServer server;
};

}  // namespace zel::testing
