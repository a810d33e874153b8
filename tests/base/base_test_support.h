// Fakes and a fixture for the product-base tests: a progress host that
// records what it was asked, a scripted disconnect warning and a workspace
// on a temporary program folder wired to them.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/workspace.h"
#include "support/files.h"
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

/// A workspace on a temporary program folder; ports open to nothing, and
/// every path asked for is recorded.
class WorkspaceTest : public ::testing::Test {
 protected:
  WorkspaceTest()
      : port(link,
             [this](const std::string& path) -> std::shared_ptr<BytePort> {
               openedPaths.push_back(path);
               return nullptr;
             }),
        ws(dir.path(), prompts, progress, warning, link, port) {}

  std::filesystem::path BasePath(int channel) const {
    return dir.path() / "Base" / ("Base" + std::to_string(channel) + ".bsd");
  }

  TempDir dir;
  ScriptedPrompts prompts;
  RecordingProgress progress;
  ScriptedWarning warning;
  Link link;
  std::vector<std::string> openedPaths;
  PortSetup port;
  Workspace ws;
};

}  // namespace zel::testing
