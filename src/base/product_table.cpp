#include "base/product_table.h"

#include <algorithm>

namespace zel {
namespace {

const std::string kEmpty;

}  // namespace

ProductTable::ProductTable() : rows_(kTableRows) {
  rows_[0] = {" N", " Наименование", " Стоимость", " Отдел", " Штрих-код", " Учет", "", ""};
  for (int r = 1; r < kTableRows; ++r) rows_[r][kColNumber] = std::to_string(r);
}

void ProductTable::SetRowCount(int rows) {
  rows = std::clamp(rows, 2, kTableRows);
  for (int r = rows; r < rowCount_; ++r) rows_[r] = Row{};
  rowCount_ = rows;
  LayoutChanged();
}

void ProductTable::SetColumnCount(int columns) {
  columnCount_ = std::clamp(columns, 1, kTableColumns);
  LayoutChanged();
}

bool ProductTable::Inside(int row, int col) const {
  return row >= 0 && row < rowCount_ && col >= 0 && col < kTableColumns;
}

const std::string& ProductTable::Cell(int row, int col) const {
  return Inside(row, col) ? rows_[row][col] : kEmpty;
}

void ProductTable::SetCell(int row, int col, std::string text) {
  if (!Inside(row, col)) return;
  rows_[row][col] = std::move(text);
  if (row == 0) {
    LayoutChanged();
  } else {
    RowsChanged(row, row);
  }
}

ProductRecord ProductTable::RecordAt(int row) const {
  if (row < 1 || row >= rowCount_) return {};
  const Row& r = rows_[row];
  return {r[1], r[2], r[3], r[4], r[5], r[6], r[7]};
}

void ProductTable::SetRecord(int row, const ProductRecord& record) {
  if (row < 1 || row >= rowCount_) return;
  Row& r = rows_[row];
  r[kColName] = record.name;
  r[kColPrice] = record.price;
  r[kColSection] = record.section;
  r[kColBarcode] = record.barcode;
  r[kColAccounting] = record.accounting;
  r[kCol6] = record.column6;
  r[kCol7] = record.column7;
  RowsChanged(row, row);
}

void ProductTable::SetRow(int row, int productNumber, const ProductRecord& record) {
  if (row < 1 || row >= rowCount_) return;
  rows_[row][kColNumber] = std::to_string(productNumber);
  SetRecord(row, record);
}

int ProductTable::FindOtherBarcode(const std::string& barcode, int exceptRow) const {
  for (int r = 1; r < kTableRows; ++r) {
    if (r != exceptRow && rows_[r][kColBarcode] == barcode) return r;
  }
  return 0;
}

void ProductTable::RowsChanged(int first, int last) const {
  if (onRowsChanged) onRowsChanged(first, last);
}

void ProductTable::LayoutChanged() const {
  if (onLayoutChanged) onLayoutChanged();
}

}  // namespace zel
