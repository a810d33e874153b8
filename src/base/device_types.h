// The seven device types and everything that depends on them: capacity,
// table columns, value limits, block alignment, control tapes and the line
// family. Types are compared by their exact name text; there is no numeric
// type code anywhere else.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/line_profile.h"

namespace zel {

/// Products a base file holds: the largest capacity of any type.
inline constexpr int kMaxProducts = 12288;

inline constexpr std::string_view kTypeZhrm15 = "ЖРМ 1.5";
inline constexpr std::string_view kTypeZhrm15v = "ЖРМ 1.5в";
inline constexpr std::string_view kTypeZhrm20 = "ЖРМ 2.0";
inline constexpr std::string_view kTypeZhrm3 = "ЖРМ 3";
inline constexpr std::string_view kTypeZhrm3Plus = "ЖРМ 3+";
inline constexpr std::string_view kTypeZhrm200 = "ЖРМ 200";
inline constexpr std::string_view kTypeRegister = "ККМ ЗЕЛ-7Ф";
/// The register's name spelled with Latin "ZEL": accepted, selects nothing.
inline constexpr std::string_view kTypeRegisterLatin = "ККМ ZEL-7Ф";

/// What column 6 holds and how an edit of it is checked.
enum class Column6Rule {
  None,          ///< column not shown
  ScalesFlag,    ///< "Весы": 0 or 1
  Digits,        ///< any digit text
  ProductGroup,  ///< "Тов. группа": 0..100
};

struct DeviceType {
  std::string_view name;
  int capacity;                     ///< highest product number
  int columnCount;                  ///< table columns including column 0
  std::string_view column6Heading;  ///< empty: heading left as it is
  std::string_view column7Heading;
  Column6Rule column6;
  bool column7;           ///< "Весы" in column 7 ("0" or "1")
  int64_t maxPriceCents;  ///< highest price in hundredths
  int sectionMin;
  int sectionMax;
  bool blockAligned;     ///< ranges aligned to blocks of four
  bool controlTapes;     ///< control-tape pages and menu on
  bool blockKkmShown;    ///< "Блокировка ККМ" option visible
  bool zhrmNumberShown;  ///< "ЖРМ №" in the active-base box
  bool kkmNumberShown;   ///< "ККМ №" in the active-base box
  LineFamily family;
  int deviceNameChars;  ///< name characters the device keeps
  /// The automation server's range exchanges and tape reads serve it, and
  /// its `SetRange` stops at the capacity; without it neither happens.
  bool serverExchanges;
  int serverSectionMax;  ///< highest section the server's `AddTovar` takes
};

class DeviceTypeTable {
 public:
  /// The seven types in the order of their capacities in the overview.
  static std::span<const DeviceType> All();
  /// The type of that exact name; null for any other text.
  static const DeviceType* Find(std::string_view name);
  /// The rules used for range and cell checks: the named type, or for an
  /// unknown name the limits of a 4096-product ЖРМ without alignment.
  static const DeviceType& RulesFor(std::string_view name);
  /// True for the eight names `Set_Zhrm` accepts (the Latin "ZEL" included).
  static bool IsAcceptedName(std::string_view name);
  /// The type list of channel 1..16 in the network dialog ("ЖРМ 200" only on 1).
  static std::vector<std::string> DialogList(int channel);
  /// "Диапазон базы должен быть в пределах 1..N"; `emptyStart` gives the
  /// three-dot form that exists for every capacity but 11234.
  static std::string RangeMessage(const DeviceType& type, bool emptyStart);
};

}  // namespace zel
