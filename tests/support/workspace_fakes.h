// Hosts of a workspace under test: a progress host and a disconnect warning
// that record what they were asked; channel 1 made the active device, and a
// table row as text.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/active_device.h"
#include "base/workspace.h"
#include "support/scripted_prompts.h"

namespace zel::testing {

/// Records every call as a line ("show Подгрузка файла 11 nostop",
/// "advance", "events", "hide") so tests can assert on the sequence.
class RecordingProgress final : public ProgressHost {
 public:
  void ShowProgress(const std::string& caption, int totalSteps, bool withStop) override {
    calls.push_back("show " + caption + " " + std::to_string(totalSteps) +
                    (withStop ? " stop" : " nostop"));
  }
  void AdvanceProgress() override { ++advances; }
  void HideProgress() override { calls.push_back("hide"); }
  void ProcessEvents() override {
    ++events;
    if (onEvents) onEvents();
  }

  std::vector<std::string> calls;
  int advances = 0;
  int events = 0;
  std::function<void()> onEvents;
};

/// Answers the disconnect warning from a queue; an unscripted warning is
/// cancelled.
class ScriptedWarning final : public DisconnectWarning {
 public:
  Answer Ask() override {
    ++shown;
    if (onAsk) onAsk();
    if (answers.empty()) return {};
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<Answer> answers;
  int shown = 0;
  std::function<void()> onAsk;
};

/// Makes channel 1 of `type` active with ЖРМ number 0001 and ККМ 00000001.
inline void ActivateFirstChannel(Workspace& ws, const std::string& type) {
  DeviceChannel& c = ws.channels.Channel(1);
  c.deviceType = type;
  c.zhrmNumber = "0001";
  c.kkmNumber = "00000001";
  ws.channels.activeChannel = 1;
  SelectZhrm(ws);
}

/// Row `row` of the table: each cell followed by "|".
inline std::string RowText(const Workspace& ws, int row) {
  std::string out;
  for (int col = kColName; col <= kCol7; ++col) out += ws.table.Cell(row, col) + "|";
  return out;
}

}  // namespace zel::testing
