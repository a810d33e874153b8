// One line of a text import file, cp1251 without its line end:
//
//   name;price;section;barcode[;anything]
//
// Each field ends at ";" or at the end of the line; missing fields are
// empty; anything after a fourth ";" is ignored. The fields are checked in
// this order and the first one that fails names the line's error:
//   name     always accepted
//   price    1..8 characters; "," counts as "."; digits, one "." that is not
//            first, exactly two digits after it  -> "Неверный формат цены"
//   section  exactly one character "1".."7"       -> "Неверный отдел"
//   barcode  1..12 characters of any kind          -> "Неверный штрих-код"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zel {

inline constexpr std::size_t kImportFields = 4;
inline constexpr std::size_t kImportMaxPriceChars = 8;
inline constexpr std::size_t kImportPriceDecimals = 2;
inline constexpr char kImportMinSection = '1';
inline constexpr char kImportMaxSection = '7';
inline constexpr std::size_t kImportMaxBarcodeChars = 12;

/// A parsed line; texts in UTF-8, the price with "." as separator.
struct ImportLine {
  std::string name;
  std::string price;
  std::string section;
  std::string barcode;
  std::string error;  ///< message of the first rejected field; empty when accepted

  bool Accepted() const { return error.empty(); }
};

/// Splits and checks one line of cp1251 bytes.
ImportLine ParseImportLine(std::string_view cp1251Line);

/// Whether a price field (cp1251, "," or ".") passes the import rule.
bool IsImportPrice(std::string_view price);

/// Whether `bytes` (the start of a file) look like UTF-8 rather than cp1251:
/// a byte-order mark, or at least one multi-byte sequence and no byte that
/// breaks the UTF-8 rules. A sequence cut by the end of `bytes` is allowed.
bool LooksLikeUtf8(std::string_view bytes);

}  // namespace zel
