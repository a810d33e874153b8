// "Восстановление базы из копии": the active channel's copies in Base/history,
// newest first, with how many products differ from the base file now; the
// chosen one is restored after its question (history_ops.h).
#pragma once

#include <QDialog>
#include <vector>

#include "base/history_ops.h"

class QPushButton;
class QTableWidget;

namespace zel {

class RestoreDialog final : public QDialog {
 public:
  RestoreDialog(Workspace& ws, QWidget* parent = nullptr);

  /// Lists the copies again (the dialog is shown anew for each use).
  void Fill();
  QTableWidget* Table() const { return table_; }
  QPushButton* RestoreButton() const { return restore_; }
  QPushButton* CloseButton() const { return close_; }
  /// True once a copy was put in place.
  bool Restored() const { return restored_; }

 private:
  void RestoreChosen();

  Workspace& ws_;
  std::vector<ListedCopy> copies_;
  QTableWidget* table_;
  QPushButton* restore_;
  QPushButton* close_;
  bool restored_ = false;
};

}  // namespace zel
