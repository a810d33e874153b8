// The objects behind the windows: port, workspace and settings, wired to the
// message boxes, the status panel and the disconnect warning. The windows are
// created after it and plug themselves in through the relays.
#pragma once

#include <filesystem>

#include "base/channels.h"
#include "base/run_state.h"
#include "base/settings.h"
#include "base/workspace.h"
#include "link/link.h"
#include "link/port_setup.h"

namespace zel {

/// Forwards progress to the status panel once the main window exists.
class ProgressRelay final : public ProgressHost {
 public:
  void SetTarget(ProgressHost* target) { target_ = target; }
  void ShowProgress(const std::string& caption, int totalSteps, bool withStop) override;
  void CountProducts(int products) override;
  void AdvanceProgress() override;
  void HideProgress() override;
  /// Runs pending events even before the window exists.
  void ProcessEvents() override;

 private:
  ProgressHost* target_ = nullptr;
};

/// Forwards the disconnect question to the warning window once it exists;
/// before that every disconnect is cancelled.
class WarningRelay final : public DisconnectWarning {
 public:
  void SetTarget(DisconnectWarning* target) { target_ = target; }
  Answer Ask() override { return target_ ? target_->Ask() : Answer{}; }

 private:
  DisconnectWarning* target_ = nullptr;
};

class AppCore {
 public:
  /// `programDir` holds ZELBase.ini, Base/ and Help/.
  AppCore(const std::filesystem::path& programDir, Prompts& prompts, PortOpener opener);

  const std::filesystem::path programDir;
  Prompts& prompts;
  Link link;
  PortSetup port;
  ProgressRelay progress;
  WarningRelay warning;
  Workspace ws;
  Settings settings;
};

}  // namespace zel
