// Test data every device type can hold: both alphabets in the names, prices
// with and without cents, sections 1..8, now and then an empty barcode.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/product_record.h"

namespace zel::testing {

/// Product of table row `row`; every `emptyBarcodeEvery`-th has no barcode.
inline ProductRecord VariedProduct(int row, int emptyBarcodeEvery = 5) {
  ProductRecord r;
  r.name = row % 2 ? "ТОВАР " + std::to_string(row) : "ITEM-" + std::to_string(row);
  r.price = std::to_string(row * 7 % 1000) + "." + (row % 3 ? "50" : "05");
  r.section = std::to_string(row % 8 + 1);
  r.barcode = row % emptyBarcodeEvery == 0 ? "" : std::to_string(460000000000LL + row * 13);
  r.accounting = "0.000";
  r.column6 = std::to_string(row % 2);
  r.column7 = std::to_string((row / 2) % 2);
  return r;
}

/// Bytes as upper-case hex digits, without separators.
inline std::string HexText(std::span<const uint8_t> bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) out += {digits[b >> 4], digits[b & 15]};
  return out;
}

}  // namespace zel::testing
