// A virtual cash register "ККМ ЗЕЛ-7Ф" on the shared line, answering the
// address byte 0xFF - kkmAddressLow. It keeps 4000 raw 32-byte records, an
// accounting counter per record and the last scanned barcode. Data replies
// are a status byte, the data and a checksum over both.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/addressed_request.h"
#include "sim/device_faults.h"
#include "sim/simulated_line.h"

namespace zel {

class RegisterDevice final : public LineDevice {
 public:
  static constexpr std::size_t kRecords = 4000;
  static constexpr std::size_t kRecordBytes = 32;

  /// kkmAddressLow: the last two digits of the register number as BCD.
  explicit RegisterDevice(uint8_t kkmAddressLow);

  void Receive(uint8_t byte, Parity parity, uint32_t baud, int64_t atUs,
               SimulatedLine& line) override;

  /// Raw bytes of record n (empty for n >= 4000).
  std::span<uint8_t> Record(std::size_t n);
  /// Sold quantity of record n in thousandths (up to 99999.999).
  void SetAccounting(std::size_t n, uint32_t thousandths);
  uint32_t Accounting(std::size_t n) const;
  /// The barcode scanned last (up to 12 characters, padded with '0').
  void SetLastBarcode(std::string digits) { lastBarcode_ = std::move(digits); }
  DeviceFaults& Faults() { return faults_; }

 private:
  void OnBody(int64_t atUs, SimulatedLine& line);
  bool Answer(std::vector<uint8_t>& data, bool& hasData);
  bool AnswerMemory(std::vector<uint8_t>& data, bool& hasData);
  void Send(std::vector<uint8_t> bytes, int64_t atUs, SimulatedLine& line);

  sim::AddressedRequest request_;
  std::vector<uint8_t> records_;
  std::vector<uint32_t> counters_;
  std::string lastBarcode_;
  DeviceFaults faults_;
};

}  // namespace zel
