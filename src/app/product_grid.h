// StringGrid1: the product table view. It forwards editing to the base
// rules: a cell is validated (and its row stored) on Enter, Up, Down, when
// the operator selects another cell and when the table loses the focus.
// Ctrl + digit keys are passed on for the jump to a product number.
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <memory>

#include "app/repaint_pacer.h"
#include "base/workspace.h"

namespace zel {

class ProductTableModel;
class ProductGrid;

/// The cell editor's keys go to the grid first: Enter, Up, Down, Tab and
/// Shift+Tab commit the text and validate; Ctrl+Tab leaves the table; Ctrl +
/// digit never reaches the editor.
class GridDelegate final : public QStyledItemDelegate {
 public:
  explicit GridDelegate(ProductGrid& grid);

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override;

 private:
  ProductGrid& grid_;
};

class ProductGrid final : public QTableView {
  Q_OBJECT

 public:
  ProductGrid(Workspace& ws, QWidget* parent = nullptr);

  ProductTableModel* Model() const { return model_; }
  /// Validation runs only once the table holds a loaded range; before that a
  /// stray focus change must not store empty rows over a base file.
  void SetArmed(bool armed) { armed_ = armed; }
  /// Moves to table row `row` in the current column, validating the cell left.
  void GoToRow(int row);
  /// Selects the cell `CurrentProductRow`/`CurrentProductCol` (clamped)
  /// without validating anything, e.g. after a reload.
  void ShowCurrentCell();

 signals:
  /// A main-keyboard digit typed with Ctrl alone held.
  void ctrlDigit(int digit);
  /// The Ctrl key was released in the table.
  void ctrlReleased();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void focusOutEvent(QFocusEvent* event) override;
  /// Typing in a read-only column neither edits nor jumps to a row that
  /// starts with the letter, so the next keys never edit another product.
  void keyboardSearch(const QString&) override {}

 private:
  friend class GridDelegate;

  /// Enter, Up, Down and Ctrl + digit; true when the key was handled here.
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
  void ConfirmCurrent();
  void MoveRowWithoutValidation(int delta);
  void LeftGrid(Qt::FocusReason reason);
  /// Ctrl+Tab / Ctrl+Shift+Tab: the focus moves to the next / previous control.
  void LeaveByKeyboard(bool forward);
  bool CanValidate() const;
  void ApplyColumnWidths();

  Workspace& ws_;
  ProductTableModel* model_;
  std::unique_ptr<RepaintPacer> pacer_;
  int changedFirst_ = 0;  ///< rows changed and not yet shown (0: none)
  int changedLast_ = 0;
  bool armed_ = false;
  bool validating_ = false;
  bool userMove_ = false;  ///< the current cell is being moved by the operator
  bool skipMoveValidation_ = false;
};

/// Digit 0..9 of a main-keyboard key pressed with Ctrl alone; -1 otherwise.
int CtrlDigitOf(int key, Qt::KeyboardModifiers modifiers);

}  // namespace zel
