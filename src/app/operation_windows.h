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
/// polls the active device while it is open, and shows what was found.
class BarcodeWindow final : public QObject {
 public:
  BarcodeWindow(TVV_shk& window, Workspace& ws);

  /// Toolbar "Ввод штрих-кода".
  void Request();
  BarcodeEntry& Entry() { return entry_; }

 private:
  void Tick();
  void ShowView();

  TVV_shk& window_;
  Workspace& ws_;
  BarcodeEntry entry_;
  QTimer timer_;
};

}  // namespace zel
