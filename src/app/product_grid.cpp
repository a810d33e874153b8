#include "app/product_grid.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>

#include "app/product_table_model.h"
#include "base/base_ops.h"

namespace zel {
namespace {

bool IsConfirmKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool IsTabKey(int key) {
  return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

// Sets a flag for the lifetime of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = old_; }

 private:
  bool& flag_;
  bool old_;
};

// Widths of columns 0..7 in average characters: the name gets the room.
constexpr int kColumnChars[kTableColumns] = {7, 34, 11, 7, 15, 10, 11, 6};

bool IsInside(const QWidget* widget, const QWidget* container) {
  return widget && (widget == container || container->isAncestorOf(widget));
}

}  // namespace

int CtrlDigitOf(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers != Qt::ControlModifier) return -1;  // keypad digits carry KeypadModifier
  if (key < Qt::Key_0 || key > Qt::Key_9) return -1;
  return key - Qt::Key_0;
}

GridDelegate::GridDelegate(ProductGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (!editor) return QStyledItemDelegate::eventFilter(object, event);
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (CtrlDigitOf(key->key(), key->modifiers()) >= 0) {
      return grid_.HandleKey(key->key(), key->modifiers());
    }
    if (IsConfirmKey(key->key()) && key->modifiers() == Qt::NoModifier) {
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::NoHint);
      return grid_.HandleKey(key->key(), key->modifiers());
    }
    if (IsTabKey(key->key()) && (key->modifiers() & Qt::ControlModifier)) {
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::NoHint);
      grid_.LeaveByKeyboard(key->key() == Qt::Key_Tab);
      return true;
    }
    if (IsTabKey(key->key())) {
      // The delegate moves to the next cell: the operator's move, which
      // validates the cell left as a click does.
      const FlagScope user(grid_.userMove_);
      return QStyledItemDelegate::eventFilter(object, event);
    }
  } else if (event->type() == QEvent::KeyRelease) {
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control) emit grid_.ctrlReleased();
  } else if (event->type() == QEvent::FocusOut) {
    const bool handled = QStyledItemDelegate::eventFilter(object, event);
    grid_.LeftGrid(static_cast<QFocusEvent*>(event)->reason());
    return handled;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

ProductGrid::ProductGrid(Workspace& ws, QWidget* parent)
    : QTableView(parent), ws_(ws), model_(new ProductTableModel(ws.table, this)) {
  setModel(model_);
  setItemDelegate(new GridDelegate(*this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setTabKeyNavigation(true);
  verticalHeader()->hide();
  // Fixed row heights keep 12288 rows as cheap as 20.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Columns 6 and 7 come and go with the device type.
  connect(model_, &QAbstractItemModel::columnsInserted, this, [this] { ApplyColumnWidths(); });
  ApplyColumnWidths();
  // A read fills a row per record; the rows are painted in batches.
  pacer_ = std::make_unique<RepaintPacer>();
  ws.table.onRowsChanged = [this, toModel = std::move(ws.table.onRowsChanged)](int a, int b) {
    if (changedFirst_ > 0) a = std::min(a, changedFirst_), b = std::max(b, changedLast_);
    changedFirst_ = a, changedLast_ = b;
    pacer_->Notify([this, toModel] { toModel(std::exchange(changedFirst_, 0), changedLast_); });
  };
}

void ProductGrid::ApplyColumnWidths() {
  const int charWidth = fontMetrics().averageCharWidth();
  for (int col = 0; col < model_->columnCount(); ++col) {
    setColumnWidth(col, kColumnChars[col] * charWidth + 12);
  }
}

bool ProductGrid::CanValidate() const {
  return armed_ && !validating_ && isEnabled() && ws_.run.exchangeState == ExchangeState::Idle;
}

void ProductGrid::ConfirmCurrent() {
  if (!CanValidate()) return;
  FlagScope busy(validating_);
  ConfirmCell(ws_);
}

bool ProductGrid::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
  if (const int digit = CtrlDigitOf(key, modifiers); digit >= 0) {
    emit ctrlDigit(digit);
    return true;
  }
  if (!IsConfirmKey(key) || modifiers != Qt::NoModifier) return false;
  ConfirmCurrent();
  if (key == Qt::Key_Up) MoveRowWithoutValidation(-1);
  if (key == Qt::Key_Down) MoveRowWithoutValidation(+1);
  return true;
}

// The cell was just validated by the key itself; selecting the next one
// must not validate it a second time (and repeat its message).
void ProductGrid::MoveRowWithoutValidation(int delta) {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return;
  const int row = std::clamp(current.row() + delta, 0, model_->rowCount() - 1);
  FlagScope skip(skipMoveValidation_);
  setCurrentIndex(model_->index(row, current.column()));
}

void ProductGrid::GoToRow(int row) {
  const int col = std::max(1, currentIndex().isValid() ? currentIndex().column() : 1);
  FlagScope user(userMove_);
  setCurrentIndex(model_->IndexOf(row, col));
}

void ProductGrid::ShowCurrentCell() {
  const int row = std::clamp(ws_.table.CurrentProductRow, 1, model_->rowCount());
  const int col = std::clamp(ws_.table.CurrentProductCol, 1, model_->columnCount() - 1);
  setCurrentIndex(model_->IndexOf(row, col));
}

void ProductGrid::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event->key(), event->modifiers())) {
    event->accept();
    return;
  }
  if (IsTabKey(event->key()) && (event->modifiers() & Qt::ControlModifier)) {
    event->accept();
    LeaveByKeyboard(event->key() == Qt::Key_Tab);
    return;
  }
  FlagScope user(userMove_);
  QTableView::keyPressEvent(event);
}

void ProductGrid::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Control) emit ctrlReleased();
  QTableView::keyReleaseEvent(event);
}

void ProductGrid::mousePressEvent(QMouseEvent* event) {
  FlagScope user(userMove_);
  QTableView::mousePressEvent(event);
}

void ProductGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);  // commits an open editor first
  if (!current.isValid()) return;
  const int row = ProductTableModel::TableRow(current);
  // Only the operator's moves validate the cell left: a reload or a column
  // change also moves the current cell, while the table is not the file's.
  if (userMove_ && !skipMoveValidation_ && previous.isValid() && CanValidate()) {
    FlagScope busy(validating_);
    SelectCell(ws_, row, current.column());
    return;
  }
  ws_.table.CurrentProductRow = row;
  ws_.table.CurrentProductCol = current.column();
}

// Qt's convention for leaving a widget that uses Tab itself; the page
// control would otherwise take Ctrl+Tab to switch pages.
void ProductGrid::LeaveByKeyboard(bool forward) {
  QWidget::focusNextPrevChild(forward);
}

void ProductGrid::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  LeftGrid(event->reason());
}

void ProductGrid::LeftGrid(Qt::FocusReason reason) {
  // Another window (a message box, a popup) taking the focus is no leave.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  if (IsInside(QApplication::focusWidget(), this)) return;
  ConfirmCurrent();
}

}  // namespace zel
