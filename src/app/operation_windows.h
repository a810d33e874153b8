// The side windows as the operations see them: the import report as an
// ImportHost, the control-tape reminder as a TapeReminder, and the barcode
// entry window driven by its polling timer.
#pragma once

#include <QObject>
#include <QTimer>

#include "app/side_windows.h"
#include "base/workspace.h"
#include "exchange/text_import.h"
#include "operations/barcode_entry.h"
#include "operations/control_tapes.h"

class QWidget;

namespace zel {

/// TImportForm as the import's report, with the main window it disables.
class ImportReport final : public ImportHost {
 public:
  ImportReport(TImportForm& form, QWidget& mainWindow);

  void ShowReport(const std::string& caption) override;
  void AddReportLine(const std::string& text, bool select) override;
  void CloseReport() override;
  void SetMainWindowEnabled(bool enabled) override;
  void ProcessEvents() override;
  bool StopRequested() const override { return stop_; }
  void ClearStopRequest() override { stop_ = false; }

 private:
  TImportForm& form_;
  QWidget& main_;
  bool stop_ = false;
};

/// TReadKLWarning as the reminder before a tape read.
class TapeReminderWindow final : public TapeReminder {
 public:
  explicit TapeReminderWindow(TReadKLWarning& window) : window_(window) {}
  bool Show(int& mode) override;

 private:
  TReadKLWarning& window_;
};

/// The barcode entry window and its timer: shows the window when asked,
/// polls the active device while it is open, and shows what was found. It
/// never polls while another exchange holds the line, nor inside a poll.
class BarcodeWindow final : public QObject {
 public:
  BarcodeWindow(TVV_shk& window, Workspace& ws);
  ~BarcodeWindow() override;

  /// Toolbar "Ввод штрих-кода".
  void Request();
  /// One tick of the window's timer; the timer runs it, tests may as well.
  void Tick();
  BarcodeEntry& Entry() { return entry_; }

  /// Holds polling while a long operation of the main window runs (a read,
  /// a tape listing); polling goes on after the last one has ended.
  class Pause {
   public:
    explicit Pause(BarcodeWindow* window) : window_(window) {
      if (window_) ++window_->pauses_;
    }
    ~Pause() {
      if (window_) --window_->pauses_;
    }
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    BarcodeWindow* window_;
  };

 private:
  bool LineTaken() const;
  BarcodePoll PollWithInputHeld();
  void ShowView();

  TVV_shk& window_;
  Workspace& ws_;
  BarcodeEntry entry_;
  QTimer timer_;
  int pauses_ = 0;
  bool polling_ = false;
  bool requestAfterPoll_ = false;
};

}  // namespace zel
