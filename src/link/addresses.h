// Wire addresses derived from the device numbers of the active channel.
#pragma once

#include <cstdint>
#include <string_view>

namespace zel {

struct DeviceAddresses {
  uint16_t zhrmAddress = 0;   ///< the 4-digit ЖРМ number read as BCD
  uint16_t kkmAddress = 1;    ///< digits 5..8 of the ККМ number read as BCD
  uint8_t kkmAddressLow = 1;  ///< low byte of kkmAddress (digits 7..8)

  /// Address byte of the cash register: 0xFF minus kkmAddressLow.
  uint8_t RegisterAddressByte() const { return static_cast<uint8_t>(0xFF - kkmAddressLow); }
  /// Address byte of every ЖРМ device: low byte of zhrmAddress.
  uint8_t ZhrmAddressByte() const { return static_cast<uint8_t>(zhrmAddress & 0xFF); }
};

/// Reads up to the last four decimal digits as BCD, first digit in the top
/// nibble ("0012" gives 0x0012). A non-digit counts as its low nibble.
uint16_t BcdFromDigits(std::string_view digits);

/// Addresses for a validated 4-digit ЖРМ number and 8-digit ККМ number.
DeviceAddresses AddressesFromNumbers(std::string_view zhrmNumber, std::string_view kkmNumber);

}  // namespace zel
