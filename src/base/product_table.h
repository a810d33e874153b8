// The product table as text cells: row 0 holds the headings, row i the
// product (range start + i - 1), column 0 its number, columns 1..7 the
// fields of `ProductRecord`. The window draws it; nothing here knows widgets.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/product_record.h"

namespace zel {

inline constexpr int kTableColumns = 8;
/// Rows including the heading row: one per product of the largest base.
inline constexpr int kTableRows = 12288 + 1;
/// The barcode text that stands for "no barcode", as an empty cell does.
inline constexpr const char* kNoProductText = "нет товара";

enum TableColumn : int {
  kColNumber = 0,
  kColName = 1,
  kColPrice = 2,
  kColSection = 3,
  kColBarcode = 4,
  kColAccounting = 5,
  kCol6 = 6,
  kCol7 = 7,
};

class ProductTable {
 public:
  using Row = std::array<std::string, kTableColumns>;

  /// Headings of columns 0..5 and column 0 pre-filled with 1..12288.
  ProductTable();

  /// Rows shown, heading row included (2..12289).
  int RowCount() const { return rowCount_; }
  /// Sets the rows shown; rows beyond them are emptied, so nothing left from
  /// an earlier, larger range is found by the barcode search.
  void SetRowCount(int rows);
  /// Columns shown (6..8).
  int ColumnCount() const { return columnCount_; }
  void SetColumnCount(int columns);

  /// Cell text; empty for a cell outside the table.
  const std::string& Cell(int row, int col) const;
  /// Writes a cell; ignored outside the table.
  void SetCell(int row, int col, std::string text);

  /// Columns 1..7 of a row as a record (empty record outside the table).
  ProductRecord RecordAt(int row) const;
  /// Writes column 0 (the product number) and columns 1..7 of a row.
  void SetRow(int row, int productNumber, const ProductRecord& record);
  /// Writes columns 1..7 of a row, leaving column 0 alone.
  void SetRecord(int row, const ProductRecord& record);

  /// Another row of 1..12288 whose barcode cell equals `barcode`; 0 if none.
  int FindOtherBarcode(const std::string& barcode, int exceptRow) const;

  /// Cell selected last (`CurrentProductRow`, `CurrentProductCol`).
  int CurrentProductRow = 1;
  int CurrentProductCol = 1;

  /// Called after cells of rows first..last changed.
  std::function<void(int firstRow, int lastRow)> onRowsChanged;
  /// Called after the row or column count or a heading changed.
  std::function<void()> onLayoutChanged;

 private:
  bool Inside(int row, int col) const;
  void RowsChanged(int first, int last) const;
  void LayoutChanged() const;

  std::vector<Row> rows_;
  int rowCount_ = kTableRows;
  int columnCount_ = 6;
};

}  // namespace zel
