#include "link/addresses.h"

namespace zel {

uint16_t BcdFromDigits(std::string_view digits) {
  if (digits.size() > 4) digits = digits.substr(digits.size() - 4);
  uint16_t value = 0;
  for (char c : digits) value = static_cast<uint16_t>((value << 4) | (c & 0x0F));
  return value;
}

DeviceAddresses AddressesFromNumbers(std::string_view zhrmNumber, std::string_view kkmNumber) {
  DeviceAddresses a;
  a.zhrmAddress = BcdFromDigits(zhrmNumber);
  a.kkmAddress = BcdFromDigits(kkmNumber);
  a.kkmAddressLow = static_cast<uint8_t>(a.kkmAddress & 0xFF);
  return a;
}

}  // namespace zel
