// One product as text cells, the form shared by the table, the base files and
// the device codecs. Prices are "0.00", quantities "0.000", always with '.'.
#pragma once

#include <string>

namespace zel {

struct ProductRecord {
  std::string name;        ///< column 1 "Наименование"
  std::string price;       ///< column 2 "Стоимость"
  std::string section;     ///< column 3 "Отдел"
  std::string barcode;     ///< column 4 "Штрих-код"
  std::string accounting;  ///< column 5 "Учет"
  std::string column6;     ///< weighed-goods flag or product group, by device type
  std::string column7;     ///< ЖРМ 200 weighed-goods flag

  bool operator==(const ProductRecord&) const = default;
};

/// The accounting cell after a reset.
inline constexpr const char* kZeroQuantity = "0.000";

}  // namespace zel
