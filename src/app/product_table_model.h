// The product table (StringGrid1) as a Qt model over the workspace's
// ProductTable: table row 0 is the header, table row i is model row i - 1.
// Column 0 (the product number) is fixed, column 5 (accounting) read-only.
#pragma once

#include <QAbstractTableModel>

#include "base/product_table.h"

namespace zel {

class ProductTableModel final : public QAbstractTableModel {
 public:
  explicit ProductTableModel(ProductTable& table, QObject* parent = nullptr);
  ~ProductTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  /// Writes the typed text into the cell; storing it is the validation's job.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  /// Table row of a model index (1..) and back.
  static int TableRow(const QModelIndex& index) { return index.row() + 1; }
  QModelIndex IndexOf(int tableRow, int col) const { return index(tableRow - 1, col); }

 private:
  void OnRowsChanged(int firstRow, int lastRow);
  void OnLayoutChanged();
  void ResizeRows(int rows);
  void ResizeColumns(int columns);

  ProductTable& table_;
  int rows_;  ///< model rows as the views know them
  int columns_;
};

}  // namespace zel
