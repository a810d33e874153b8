// Jumping to a product by typing its number with Ctrl held: the digits
// collect in `ProductNumberEntry` and in the small "Номер товара" popup.
#pragma once

#include <optional>
#include <string>

namespace zel {

class ProductNumberEntry {
 public:
  /// One main-keyboard digit (0..9) typed with Ctrl alone held. Returns the
  /// table row to move to when the number lies in `currentRecord` ..
  /// `lastRecord` (and is not 0); nullopt leaves the selection alone.
  std::optional<int> CtrlDigit(int digit, int currentRecord, int lastRecord);
  /// Ctrl released: the number is forgotten and the popup hidden.
  void CtrlReleased();

  /// The number typed so far (`ProductNumberEntry`).
  long long Value() const { return value_; }
  bool PopupVisible() const { return popupVisible_; }
  /// The popup's field: the digits typed since it was shown.
  const std::string& PopupText() const { return popupText_; }

 private:
  long long value_ = 0;
  bool popupVisible_ = false;
  std::string popupText_;
};

}  // namespace zel
