// Control-tape files: the block list and the contents of one tape, as CSV
// or fixed-column text (cp1251, CR LF). CSV fields are each followed by
// ";"; text fields are left-aligned, padded with blanks and cut to width.
//
// Block list, CSV:   № КЛ;Дата вывода;Кол-во покупок;
//                    "number";date;purchases;            ("." -> "," in purchases)
// Block list, text:  № КЛ(11) Дата вывода(14) Кол-во покупок
//                    number(11) date(14) purchases(15)
//
// Tape, CSV:         № КЛ;Дата вывода;Кол-во покупок;
//                    number;date;purchases;             (selected block, as is)
//                    ;
//                    № в базе;Наименование;Стоимость;Количество;
//                    "slot";"name";price;quantity;      ("." -> "," in price, quantity)
// Tape, text:        "№ КЛ .......... " number
//                    "Дата вывода ... " date
//                    "Количество .... " purchases
//                    (two empty lines)
//                    № в базе(10) Наименование(15) Стоимость(12) Количество
//                    slot(10) name(15) price(12) quantity(15)
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace zel {

inline constexpr std::size_t kBlockNumberWidth = 11;
inline constexpr std::size_t kBlockDateWidth = 14;
inline constexpr std::size_t kBlockPurchasesWidth = 15;

inline constexpr std::size_t kTapeSlotWidth = 10;
inline constexpr std::size_t kTapeNameWidth = 15;
inline constexpr std::size_t kTapePriceWidth = 12;
inline constexpr std::size_t kTapeQuantityWidth = 15;

/// Columns 1..3 of a row of the block list ("Информация о блоках КЛ").
struct TapeBlockRow {
  std::string tapeNumber;  ///< " Номер КЛ" ("Текущая" for the block being filled)
  std::string outputDate;  ///< " Дата вывода"
  std::string purchases;   ///< " Кол-во покупок"
};

/// Columns 0..3 of a row of the tape contents ("Контрольные ленты").
struct TapeSaleRow {
  std::string slot;      ///< "№ в базе"
  std::string name;      ///< "Наименование"
  std::string price;     ///< "Стоимость"
  std::string quantity;  ///< "Количество"
};

/// The block list as CSV.
std::string BlockListCsv(std::span<const TapeBlockRow> blocks);

/// The block list as text.
std::string BlockListText(std::span<const TapeBlockRow> blocks);

/// One tape as CSV; `selected` is the block the tape was read from (empty
/// texts when none is selected).
std::string TapeContentsCsv(const TapeBlockRow& selected, std::span<const TapeSaleRow> sales);

/// One tape as text.
std::string TapeContentsText(const TapeBlockRow& selected, std::span<const TapeSaleRow> sales);

}  // namespace zel
