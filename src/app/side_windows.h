// The windows created at start-up whose work comes with the operations:
// barcode entry (TVV_shk), the import report (TImportForm) and the
// control-tape reminder (TReadKLWarning). Here they get their look; the
// operations that drive them attach to the controls exposed below.
#pragma once

#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>

#include "base/workspace.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zel {

/// "Ввод штриховых кодов": always on top, no close box, navy background.
class TVV_shk final : public QWidget {
 public:
  explicit TVV_shk(QWidget* parent = nullptr);

  /// The window manager closed the window (Alt+F4, a close box it adds
  /// anyway); it is hidden once this has run.
  std::function<void()> onCloseRequested;

  QLabel* Label1() const { return barcode_; }  ///< the current barcode
  QLabel* Label3() const { return result_; }   ///< the lookup result
  QPushButton* BitBtn2() const { return piece_; }
  QPushButton* Button1() const { return weight_; }
  QPushButton* BitBtn1() const { return finish_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* barcode_;
  QLabel* result_;
  QPushButton* piece_;
  QPushButton* weight_;
  QPushButton* finish_;
};

/// The import report: one bold list filling a resizable window.
class TImportForm final : public QWidget {
 public:
  explicit TImportForm(QWidget* parent = nullptr);

  QListWidget* List() const { return list_; }
  /// Esc pressed in the list: the running import is asked to stop.
  std::function<void()> onStopRequested;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget* list_;
};

/// "Внимание" before a control tape is read. The choice shown is the
/// workspace's reminder mode; the result is 1 only through "Ok".
class TReadKLWarning final : public QDialog {
 public:
  explicit TReadKLWarning(Options& options, QWidget* parent = nullptr);

  /// Shows the window modally; 1 when closed with "Ok", else 0.
  int Run();

  QRadioButton* Choice(int mode) const { return choices_[mode - 1]; }  ///< mode 1..3
  QPushButton* OkButton() const { return ok_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Options& options_;
  std::array<QRadioButton*, 3> choices_{};
  QPushButton* ok_;
};

}  // namespace zel
