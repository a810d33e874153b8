// A virtual terminal of the ЖРМ 3 family: "ЖРМ 3" (4096 records, 18 tape
// blocks), "ЖРМ 3+" (12288 records, 8 blocks) or "ЖРМ 200" (11234 records of
// 35 bytes, 8 blocks). It is selected by its address byte sent with mark
// parity, echoes it, takes the body sent with space parity, echoes the
// body's checksum and answers. It keeps raw records, an accounting counter
// per record, the control tape and the last scanned barcode.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/addressed_request.h"
#include "sim/control_tapes.h"
#include "sim/device_faults.h"
#include "sim/simulated_line.h"

namespace zel {

enum class Zhrm3FamilyModel { Zhrm3, Zhrm3Plus, Zhrm200 };

class Zhrm3Device final : public LineDevice {
 public:
  /// zhrmAddress: the terminal number as BCD; its low byte is the address byte.
  Zhrm3Device(Zhrm3FamilyModel model, uint16_t zhrmAddress);

  void Receive(uint8_t byte, Parity parity, uint32_t baud, int64_t atUs,
               SimulatedLine& line) override;

  std::size_t Capacity() const { return capacity_; }
  std::size_t RecordBytes() const { return recordBytes_; }
  /// Raw bytes of record n (empty beyond the capacity).
  std::span<uint8_t> Record(std::size_t n);
  /// Sold quantity of record n in thousandths (up to 99999.999).
  void SetAccounting(std::size_t n, uint32_t thousandths);
  uint32_t Accounting(std::size_t n) const;
  /// The barcode scanned last (digits; empty = none yet).
  void SetLastBarcode(std::string digits) { lastBarcode_ = std::move(digits); }
  sim::ControlTapes& Tapes() { return tapes_; }
  /// Answers each selection with 0x00 `times` times before it echoes the
  /// address (negative: for ever), as a busy ЖРМ 200 does.
  void ZeroEchoes(int times) { zeroEchoes_ = times; }
  /// Address bytes with this device's address seen so far.
  int AddressBytesSeen() const { return addressBytesSeen_; }
  DeviceFaults& Faults() { return faults_; }

 private:
  void OnAddress(int64_t atUs, SimulatedLine& line);
  void OnBody(int64_t atUs, SimulatedLine& line);
  bool Answer(std::vector<uint8_t>& reply);
  bool AnswerRecord(std::vector<uint8_t>& reply);
  bool AnswerAccounting(std::vector<uint8_t>& reply);
  bool AnswerTape(std::vector<uint8_t>& reply);
  void AppendChecksum(std::vector<uint8_t>& reply) const;
  void Send(std::vector<uint8_t> bytes, int64_t atUs, SimulatedLine& line);

  std::size_t capacity_;
  std::size_t recordBytes_;
  sim::AddressedRequest request_;
  std::vector<uint8_t> records_;
  std::vector<uint32_t> counters_;
  sim::ControlTapes tapes_;
  std::string lastBarcode_;
  int zeroEchoes_ = 0;
  int zerosSent_ = 0;
  int addressBytesSeen_ = 0;
  DeviceFaults faults_;
};

}  // namespace zel
