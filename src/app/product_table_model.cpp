#include "app/product_table_model.h"

#include <QApplication>
#include <QPalette>

namespace zel {

ProductTableModel::ProductTableModel(ProductTable& table, QObject* parent)
    : QAbstractTableModel(parent),
      table_(table),
      rows_(table.RowCount() - 1),
      columns_(table.ColumnCount()) {
  table_.onRowsChanged = [this](int first, int last) { OnRowsChanged(first, last); };
  table_.onLayoutChanged = [this] { OnLayoutChanged(); };
}

ProductTableModel::~ProductTableModel() {
  table_.onRowsChanged = nullptr;
  table_.onLayoutChanged = nullptr;
}

int ProductTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ProductTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant ProductTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = TableRow(index);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return QString::fromStdString(table_.Cell(row, index.column()));
    case Qt::BackgroundRole:
      // The fixed column looks like a header, as in a string grid.
      if (index.column() == kColNumber) return QApplication::palette().button();
      return {};
    case Qt::ForegroundRole:
      if (index.column() == kColNumber) return QApplication::palette().buttonText();
      return {};
    default:
      return {};
  }
}

bool ProductTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
    return false;
  }
  table_.SetCell(TableRow(index), index.column(), value.toString().toStdString());
  return true;
}

QVariant ProductTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QString::fromStdString(table_.Cell(0, section));
  return QString::fromStdString(table_.Cell(section + 1, kColNumber));
}

Qt::ItemFlags ProductTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const int col = index.column();
  if (col == kColNumber) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (col != kColAccounting) f |= Qt::ItemIsEditable;
  return f;
}

void ProductTableModel::OnRowsChanged(int firstRow, int lastRow) {
  const int first = std::max(firstRow, 1) - 1;
  const int last = std::min(lastRow - 1, rows_ - 1);
  if (first > last) return;
  emit dataChanged(index(first, 0), index(last, columns_ - 1));
}

void ProductTableModel::OnLayoutChanged() {
  ResizeColumns(table_.ColumnCount());
  ResizeRows(table_.RowCount() - 1);
  emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

// The table has already changed size; the views learn it row-wise, so the
// current cell survives a reload instead of being reset.
void ProductTableModel::ResizeRows(int rows) {
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows({}, rows, rows_ - 1);
    rows_ = rows;
    endRemoveRows();
  }
}

void ProductTableModel::ResizeColumns(int columns) {
  if (columns > columns_) {
    beginInsertColumns({}, columns_, columns - 1);
    columns_ = columns;
    endInsertColumns();
  } else if (columns < columns_) {
    beginRemoveColumns({}, columns, columns_ - 1);
    columns_ = columns;
    endRemoveColumns();
  }
}

}  // namespace zel
