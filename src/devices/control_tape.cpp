#include "devices/control_tape.h"

#include "devices/field_codecs.h"

namespace zel {
namespace {

constexpr uint16_t kReturnFlag = 0x8000;

uint16_t LowFirst(uint8_t low, uint8_t high) {
  return static_cast<uint16_t>(low | high << 8);
}

}  // namespace

TapeBlockInfo DecodeTapeBlockInfo(std::span<const uint8_t, kTapeBlockInfoBytes> d) {
  TapeBlockInfo info;
  if (d[0] == 0xFF && d[1] == 0xFF) {
    info.endOfList = true;
    return info;
  }
  info.purchases = LowFirst(d[5], d[6]);
  if (d[0] == 0xFF && d[1] == 0x00) {
    info.current = true;
    return info;
  }
  info.tapeNumber = LowFirst(d[0], d[1]);
  info.date = BcdDigits(d[2]) + "." + BcdDigits(d[3]) + "." + BcdDigits(d[4]);
  return info;
}

TapePurchase DecodeTapePurchase(std::span<const uint8_t, kTapePurchaseBytes> e) {
  const uint16_t entry = static_cast<uint16_t>(e[0] << 8 | e[1]);
  TapePurchase p;
  p.isReturn = (entry & kReturnFlag) != 0;
  p.productNumber = static_cast<uint16_t>((entry & ~kReturnFlag) + 1);
  p.quantity = TapeQuantityText(e.subspan<2, 3>());
  return p;
}

std::string TapeQuantityText(std::span<const uint8_t, 3> bcd) {
  const std::string a = BcdDigits(bcd[0]);
  const std::string b = BcdDigits(bcd[1]);
  std::string text = a + b.substr(0, 1) + "." + b.substr(1) + BcdDigits(bcd[2]);
  for (int i = 0; i < 2 && text.front() == '0'; ++i) text.erase(0, 1);
  return text;
}

}  // namespace zel
