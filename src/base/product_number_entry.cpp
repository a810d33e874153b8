#include "base/product_number_entry.h"

namespace zel {
namespace {

// Beyond any product number; holding a digit key down must not overflow.
constexpr long long kSaturated = 1'000'000'000'000LL;
constexpr std::size_t kMaxPopupChars = 32;

}  // namespace

std::optional<int> ProductNumberEntry::CtrlDigit(int digit, int currentRecord, int lastRecord) {
  if (digit < 0 || digit > 9) return std::nullopt;
  value_ = value_ >= kSaturated / 10 ? kSaturated : value_ * 10 + digit;
  if (!popupVisible_) {
    popupText_.clear();
    popupVisible_ = true;
  }
  if (popupText_.size() < kMaxPopupChars) popupText_ += static_cast<char>('0' + digit);
  if (value_ != 0 && value_ >= currentRecord && value_ <= lastRecord) {
    return static_cast<int>(value_ - currentRecord + 1);
  }
  return std::nullopt;
}

void ProductNumberEntry::CtrlReleased() {
  value_ = 0;
  popupVisible_ = false;
}

}  // namespace zel
