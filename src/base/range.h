// The range of product numbers the table shows: the two range fields, the
// confirmed `CurrentRecord` .. `LastRecord`, and the check that ties them to
// the active device type.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/window_state.h"
#include "common/prompts.h"

namespace zel {

class RangeFields {
 public:
  explicit RangeFields(ControlState& controls) : controls_(controls) {}

  /// Range start field ("Диапазон базы с ").
  const std::string& StartText() const { return start_; }
  /// Range end field ("по").
  const std::string& EndText() const { return end_; }
  /// Writes the start field; a different text enters the range-edited state.
  void SetStartText(std::string text);
  /// Writes the end field; a different text enters the range-edited state.
  void SetEndText(std::string text);

  /// First product number of the confirmed range; operations advance it.
  int CurrentRecord = 1;
  /// Last product number of the confirmed range.
  int LastRecord = 4096;

 private:
  ControlState& controls_;
  std::string start_ = "0001";
  std::string end_ = "4096";
};

/// A field text of decimal digits only as a number (saturated at 10^9, so
/// an over-long text is simply too large); nullopt for empty or non-digit.
std::optional<int> ParseRecordNumber(std::string_view text);

/// Checks both fields against the type named `typeName` and loads
/// `CurrentRecord`/`LastRecord`; aligns ЖРМ 1.5/1.5в ranges to blocks of four.
/// False after resetting the fields (and records) to 1..capacity and
/// showing the type's range message in an error box.
bool CheckBaseRange(RangeFields& range, std::string_view typeName, Prompts& prompts);

}  // namespace zel
