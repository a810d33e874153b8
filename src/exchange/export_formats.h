// The CSV and fixed-column text exports of the product table. Both are
// cp1251 with CR LF line ends and take table rows 1..rowCount as the table
// holds them.
//
// CSV, every field followed by ";":
//   номер;наименование;цена;отдел;штрих-код;учет;
//   N;"name";price;section;"barcode";accounting;
// The name and barcode are quoted as they are (inner quotation marks are not
// doubled); price and accounting get "," for ".".
//
// Text, left-aligned columns padded with blanks, longer texts cut:
//   heading  номер(8) наименование(25) цена(15) отдел(9) штрих-код(15) учет(4)
//   line 2   a single blank
//   row      N(8) name(22) 3 blanks price(15) section(9) barcode(15) accounting(15)
// A row line is 87 characters; the heading columns line up with the rows.
#pragma once

#include <cstddef>
#include <string>

#include "base/product_table.h"

namespace zel {

inline constexpr std::size_t kTextNumberWidth = 8;
inline constexpr std::size_t kTextNameWidth = 22;
inline constexpr std::size_t kTextGapWidth = 3;
inline constexpr std::size_t kTextPriceWidth = 15;
inline constexpr std::size_t kTextSectionWidth = 9;
inline constexpr std::size_t kTextBarcodeWidth = 15;
inline constexpr std::size_t kTextAccountingWidth = 15;
inline constexpr std::size_t kTextRowChars = kTextNumberWidth + kTextNameWidth + kTextGapWidth +
                                             kTextPriceWidth + kTextSectionWidth +
                                             kTextBarcodeWidth + kTextAccountingWidth;
static_assert(kTextRowChars == 87);

/// The CSV file of table rows 1..rowCount (none when rowCount < 1).
std::string ExportCsv(const ProductTable& table, int rowCount);

/// The fixed-column text file of table rows 1..rowCount.
std::string ExportText(const ProductTable& table, int rowCount);

}  // namespace zel
