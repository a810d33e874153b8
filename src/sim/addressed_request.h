// Collects one addressed request on the device side: the address byte with
// mark parity selects, then the body with space parity: L, L - 1 argument
// bytes after the command, and the checksum. Used by the virtual ЖРМ 3
// family devices and the virtual cash register.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/line_settings.h"

namespace zel::sim {

class AddressedRequest {
 public:
  /// What one received byte did.
  enum class Step { Ignored, AddressMine, AddressOther, BodyByte, Complete };

  explicit AddressedRequest(uint8_t address) : address_(address) {}

  uint8_t Address() const { return address_; }
  /// Takes one byte off the line. A byte without parity, a foreign address
  /// or a zero length drops the request in progress.
  Step Feed(uint8_t byte, Parity parity);
  /// Starts collecting a body (after the address byte has been echoed).
  void Select() { selected_ = true, body_.clear(); }
  void Deselect() { selected_ = false; }

  /// The complete body: L, command, arguments, checksum.
  std::span<const uint8_t> Body() const { return body_; }
  bool ChecksumMatches() const;
  uint8_t Command() const { return body_.size() > 1 ? body_[1] : 0; }
  /// The arguments after the command byte.
  std::span<const uint8_t> Args() const;
  /// Arguments 0..1 as a record number, low byte first.
  uint16_t RecordNumber() const;

 private:
  uint8_t address_;
  bool selected_ = false;
  std::vector<uint8_t> body_;
};

/// 0xFF minus the 8-bit sum of the bytes, as the devices compute it.
uint8_t DeviceChecksum8(std::span<const uint8_t> bytes);

/// The low 2 * out.size() decimal digits of `value` as packed BCD, most
/// significant first.
void PackBcd(uint64_t value, std::span<uint8_t> out);
/// Packed BCD digits, most significant first, as a number (nibbles above 9
/// count as their value).
uint64_t UnpackBcd(std::span<const uint8_t> bcd);

}  // namespace zel::sim
