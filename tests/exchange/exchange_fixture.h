// Shared pieces of the exchange tests: a workspace on fakes in a temporary
// folder, and an import host that records the report.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/base_ops.h"
#include "base/workspace.h"
#include "exchange/text_import.h"
#include "support/files.h"
#include "support/scripted_prompts.h"
#include "support/workspace_fakes.h"

namespace zel::testing {

/// The report window and the main window, recorded.
class RecordingImportHost final : public ImportHost {
 public:
  void ShowReport(const std::string& caption) override {
    this->caption = caption;
    lines.clear();
    shown = true;
  }
  void AddReportLine(const std::string& text, bool select) override {
    if (throwOnLine == static_cast<int>(lines.size())) throw std::runtime_error("list is full");
    lines.push_back(text);
    if (select) selected = text;
  }
  void CloseReport() override { shown = false; }
  void SetMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
  void ProcessEvents() override {
    ++eventRounds;
    if (onEvents) onEvents(eventRounds);
  }
  bool StopRequested() const override { return stop; }
  void ClearStopRequest() override { stop = false; }

  std::string caption;
  std::vector<std::string> lines;
  std::string selected;
  bool shown = false;
  bool mainWindowEnabled = true;
  bool stop = false;
  int eventRounds = 0;
  int throwOnLine = -1;  ///< AddReportLine throws when the list holds this many lines
  std::function<void(int round)> onEvents;
};

/// A workspace in a temporary program folder with one created base file.
class WorkspaceTest : public ::testing::Test {
 protected:
  WorkspaceTest()
      : port_(link_, [](const std::string&) { return std::shared_ptr<BytePort>(); }),
        ws_(dir_.path(), prompts_, progress_, warning_, link_, port_) {
    std::string error;
    EXPECT_TRUE(ws_.folder.CreateBase(ws_.device.baseFileName, error)) << error;
    ws_.device.typeText = "ЖРМ 3";
  }

  /// Sets and confirms the range, loading it into the table.
  void ShowRange(int first, int last) {
    ws_.range.SetStartText(std::to_string(first));
    ws_.range.SetEndText(std::to_string(last));
    ASSERT_TRUE(ConfirmRange(ws_));
  }

  /// Record `product` (1-based) of the active base file.
  ProductRecord Stored(int product) {
    std::vector<ProductRecord> out;
    std::string error;
    EXPECT_TRUE(ws_.folder.ReadRecords(ws_.device.baseFileName, product - 1, 1, out, error));
    return out.empty() ? ProductRecord{} : out[0];
  }

  TempDir dir_;
  ScriptedPrompts prompts_;
  RecordingProgress progress_;
  ScriptedWarning warning_;
  Link link_;
  PortSetup port_;
  Workspace ws_;
};

}  // namespace zel::testing
