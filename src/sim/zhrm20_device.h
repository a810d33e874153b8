// A virtual ЖРМ 2.0 terminal. It is selected by its address byte sent with
// mark parity, echoes it, takes the body sent with space parity, echoes the
// body's checksum and answers; it serves a base of 4096 raw 24-byte records,
// an accounting counter per record, the last scanned barcode and the lock
// of its cash register.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/device_faults.h"
#include "sim/simulated_line.h"

namespace zel {

class Zhrm20Device final : public LineDevice {
 public:
  static constexpr std::size_t kRecords = 4096;
  static constexpr std::size_t kRecordBytes = 24;

  /// zhrmAddress: the terminal number as BCD; its low byte is the address byte.
  explicit Zhrm20Device(uint16_t zhrmAddress);

  void Receive(uint8_t byte, Parity parity, uint32_t baud, int64_t atUs,
               SimulatedLine& line) override;

  /// Raw bytes of record n (empty for n >= 4096).
  std::span<uint8_t> Record(std::size_t n);
  /// Sold quantity of record n in thousandths.
  void SetAccounting(std::size_t n, uint32_t thousandths);
  uint32_t Accounting(std::size_t n) const;
  /// The barcode the terminal scanned last (digits; empty = none yet).
  void SetLastBarcode(std::string digits) { lastBarcode_ = std::move(digits); }
  bool RegisterLocked() const { return registerLocked_; }
  /// Ignores bytes sent at another speed (0 = any speed).
  void RequireBaud(uint32_t baud) { requiredBaud_ = baud; }
  DeviceFaults& Faults() { return faults_; }

 private:
  enum class State { Unselected, Length, Body };

  void OnAddress(uint8_t byte, int64_t atUs, SimulatedLine& line);
  void OnBody(int64_t atUs, SimulatedLine& line);
  bool Answer(uint8_t command, uint16_t param, std::span<const uint8_t> data,
              std::vector<uint8_t>& reply);
  void Send(std::vector<uint8_t> bytes, int64_t atUs, SimulatedLine& line);

  uint8_t address_;
  uint32_t requiredBaud_ = 0;
  std::vector<uint8_t> records_;
  std::vector<uint32_t> counters_;
  std::string lastBarcode_;
  bool registerLocked_ = false;
  DeviceFaults faults_;

  State state_ = State::Unselected;
  std::vector<uint8_t> body_;
};

}  // namespace zel
