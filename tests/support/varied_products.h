// Products for tests: one from its fields, and varied ones every device type
// can hold (both alphabets in the names, prices with and without cents,
// sections 1..8, now and then an empty barcode).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "common/product_record.h"

namespace zel::testing {

/// A product without accounting value.
inline ProductRecord Row(std::string name, std::string price, std::string section,
                         std::string barcode, std::string column6 = "0",
                         std::string column7 = "0") {
  ProductRecord r;
  r.name = std::move(name);
  r.price = std::move(price);
  r.section = std::move(section);
  r.barcode = std::move(barcode);
  r.column6 = std::move(column6);
  r.column7 = std::move(column7);
  return r;
}

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
