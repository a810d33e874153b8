// The window's seams as the command line fills them: the status panel, the
// import report, the control-tape reminder and the disconnect warning.
#pragma once

#include <string>

#include "base/channels.h"
#include "base/run_state.h"
#include "cli/console.h"
#include "exchange/text_import.h"
#include "operations/control_tapes.h"

namespace zel::cli {

/// Gauge as a progress line; Ctrl-C becomes the "Стоп" button.
class CliProgress final : public ProgressHost {
 public:
  explicit CliProgress(Console& console) : console_(console) {}
  /// The run state whose stop request Ctrl-C sets.
  void AttachRun(RunState& run) { run_ = &run; }
  /// Ctrl-C arrived while an operation could see it.
  bool Stopped() const { return stopped_; }

  void ShowProgress(const std::string& caption, int totalSteps, bool withStop) override;
  void CountProducts(int products) override;
  void AdvanceProgress() override;
  void HideProgress() override;
  void ProcessEvents() override;

 private:
  void Draw();

  Console& console_;
  RunState* run_ = nullptr;
  std::string caption_;
  int total_ = 0;
  int done_ = 0;
  int products_ = 0;  ///< what the count shows, when not the steps
  bool stopped_ = false;
};

/// The import report: its lines on stdout, the caption on stderr; Ctrl-C
/// stops the import as Esc does in the report window.
class CliImportHost final : public ImportHost {
 public:
  explicit CliImportHost(Console& console) : console_(console) {}

  void ShowReport(const std::string& caption) override { console_.Note(caption); }
  void AddReportLine(const std::string& text, bool) override { console_.Out(text); }
  void CloseReport() override {}
  void SetMainWindowEnabled(bool) override {}
  void ProcessEvents() override {}
  bool StopRequested() const override;
  void ClearStopRequest() override;

 private:
  Console& console_;
};

/// The reminder before a tape read: its text as a note, acknowledged with
/// "Ok"; the reminder mode of the settings decides the rest.
class NoticeReminder final : public TapeReminder {
 public:
  explicit NoticeReminder(Console& console) : console_(console) {}
  bool Show(int& mode) override;

 private:
  Console& console_;
};

/// Channels are never switched off here; should that happen, it is cancelled.
class CancelDisconnect final : public DisconnectWarning {
 public:
  Answer Ask() override { return Answer{}; }
};

}  // namespace zel::cli
