// A virtual ЖРМ 1.5 / 1.5в terminal with the cash register behind it. It
// decodes the prefixed frames addressed to its number, serves a base of 4096
// raw 32-byte records, an accounting counter per record and the last scanned
// barcode, and answers the register-lock frame for its register number.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/device_faults.h"
#include "sim/simulated_line.h"

namespace zel {

class Zhrm15Device final : public LineDevice {
 public:
  static constexpr std::size_t kRecords = 4096;
  static constexpr std::size_t kRecordBytes = 32;

  /// zhrmAddress: the terminal number as BCD (0012 -> 0x0012); kkmAddress:
  /// the last four digits of the register number as BCD.
  explicit Zhrm15Device(uint16_t zhrmAddress, uint16_t kkmAddress = 0x0001);

  void Receive(uint8_t byte, Parity parity, uint32_t baud, int64_t atUs,
               SimulatedLine& line) override;

  /// Raw bytes of record n (empty for n >= 4096).
  std::span<uint8_t> Record(std::size_t n);
  /// Sold quantity of record n in thousandths (kept modulo 10^8).
  void SetAccounting(std::size_t n, uint32_t thousandths);
  uint32_t Accounting(std::size_t n) const;
  /// The barcode the terminal scanned last (digits; empty = none yet).
  void SetLastBarcode(std::string digits) { lastBarcode_ = std::move(digits); }
  bool RegisterLocked() const { return registerLocked_; }
  /// Ignores bytes sent at another speed (0 = any speed).
  void RequireBaud(uint32_t baud) { requiredBaud_ = baud; }
  DeviceFaults& Faults() { return faults_; }

 private:
  enum class State {
    Idle,
    AddressHigh,
    Marker,
    AddressLow,
    Command,
    BlockData,
    Preamble,
    LockFrame
  };

  void Restart(uint8_t byte);
  void Collect(uint8_t byte, std::size_t size, int64_t atUs, SimulatedLine& line);
  void OnFrame(int64_t atUs, SimulatedLine& line);
  void OnBlockData(int64_t atUs, SimulatedLine& line);
  void OnLockFrame(int64_t atUs, SimulatedLine& line);
  std::vector<uint8_t> ReadBlockReply(uint16_t first) const;
  std::vector<uint8_t> AccountingReply(uint16_t first, uint16_t count) const;
  void Send(std::vector<uint8_t> ack, std::vector<uint8_t> reply, int64_t atUs,
            SimulatedLine& line);

  uint16_t zhrmAddress_;
  uint16_t kkmAddress_;
  uint32_t requiredBaud_ = 0;
  std::vector<uint8_t> records_;
  std::vector<uint32_t> counters_;
  std::string lastBarcode_;
  bool registerLocked_ = false;
  DeviceFaults faults_;

  State state_ = State::Idle;
  std::vector<uint8_t> frame_;
  int preambleBytes_ = 0;
  uint16_t blockFirst_ = 0;
  int64_t lastByteUs_ = 0;
};

}  // namespace zel
