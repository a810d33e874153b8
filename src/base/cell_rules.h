// The checks a confirmed cell edit goes through before its row is stored,
// per column and device type. A rejected value is replaced by its column's
// neutral value ("0.00", "1", "0"), except a duplicate barcode, which stays
// in the cell unsaved.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/product_table.h"
#include "common/prompts.h"

namespace zel {

/// A price cell read as a number.
struct PriceValue {
  enum Status {
    Ok,
    BadCharacters,  ///< empty, or a character other than digits, "." and ","
    NotANumber,     ///< right characters, but two separators or no digit
  };
  Status status = BadCharacters;
  int64_t cents = 0;      ///< rounded to hundredths (half up); valid when Ok
  bool tooLarge = false;  ///< the exact value exceeds `maxCents`
};

/// Reads a price typed with "." or "," as separator; `maxCents` is the
/// type's highest price in hundredths.
PriceValue ParsePrice(std::string_view text, int64_t maxCents);

/// Hundredths in the table's "0.00" form ("12.50").
std::string FormatPriceCents(int64_t cents);

/// Whether the row of a validated cell is stored.
enum class CellOutcome { SaveRow, NotSaved };

/// Validates cell (row, col) by the rules of the type `typeName`, rewriting
/// it and showing the column's message when it is rejected.
CellOutcome ValidateCell(ProductTable& table, int row, int col, std::string_view typeName,
                         Prompts& prompts);

}  // namespace zel
