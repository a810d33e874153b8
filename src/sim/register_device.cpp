#include "sim/register_device.h"

#include <algorithm>

namespace zel {
namespace {

enum : uint8_t {
  kWriteRecord = 1,
  kReadRecord = 2,
  kWriteMemory = 3,
  kReadMemory = 4,
  kReadBarcode = 6
};

constexpr uint8_t kStatusOk = 0x00;
constexpr uint8_t kCounterBytes = 4;
constexpr uint32_t kCounterLimit = 100'000'000;  // eight BCD digits
constexpr std::size_t kBarcodeChars = 12;
// Memory argument of the barcode request: 12 bytes at 0x2AD9.
constexpr uint8_t kBarcodeArgs[] = {0xD9, 0x2A, kBarcodeChars};

}  // namespace

RegisterDevice::RegisterDevice(uint8_t kkmAddressLow)
    : request_(static_cast<uint8_t>(0xFF - kkmAddressLow)),
      records_(kRecords * kRecordBytes, 0),
      counters_(kRecords, 0) {}

std::span<uint8_t> RegisterDevice::Record(std::size_t n) {
  if (n >= kRecords) return {};
  return std::span(records_).subspan(n * kRecordBytes, kRecordBytes);
}

void RegisterDevice::SetAccounting(std::size_t n, uint32_t thousandths) {
  if (n < kRecords) counters_[n] = thousandths % kCounterLimit;
}

uint32_t RegisterDevice::Accounting(std::size_t n) const {
  return n < kRecords ? counters_[n] : 0;
}

void RegisterDevice::Receive(uint8_t byte, Parity parity, uint32_t /*baud*/, int64_t atUs,
                             SimulatedLine& line) {
  const auto step = request_.Feed(byte, parity);
  if (step == sim::AddressedRequest::Step::Complete) return OnBody(atUs, line);
  if (step != sim::AddressedRequest::Step::AddressMine || faults_.IsSilent()) return;
  request_.Select();
  Send({faults_.Echo(request_.Address())}, atUs, line);
}

// A body with a wrong checksum or a request the register does not serve
// goes unanswered.
void RegisterDevice::OnBody(int64_t atUs, SimulatedLine& line) {
  if (!request_.ChecksumMatches() || !faults_.TakeRequest()) return;
  std::vector<uint8_t> data;
  bool hasData = false;
  if (!Answer(data, hasData)) return;
  std::vector<uint8_t> reply;
  if (hasData) {
    reply.push_back(faults_.Status(kStatusOk));
    reply.insert(reply.end(), data.begin(), data.end());
    reply.push_back(static_cast<uint8_t>(faults_.Check(sim::DeviceChecksum8(reply))));
    faults_.ShapeReply(reply);
  }
  reply.insert(reply.begin(), faults_.Echo(request_.Body().back()));
  Send(std::move(reply), atUs, line);
}

bool RegisterDevice::Answer(std::vector<uint8_t>& data, bool& hasData) {
  const auto args = request_.Args();
  const uint16_t n = request_.RecordNumber();
  switch (request_.Command()) {
    case kReadRecord:
      if (args.size() != 2 || n >= kRecords) return false;
      data.assign(Record(n).begin(), Record(n).end());
      hasData = true;
      return true;
    case kWriteRecord:
      if (args.size() != 2 + kRecordBytes || n >= kRecords) return false;
      std::copy(args.begin() + 2, args.end(), Record(n).begin());
      return true;
    case kReadMemory:
    case kWriteMemory:
      return AnswerMemory(data, hasData);
    case kReadBarcode:
      if (!std::equal(args.begin(), args.end(), std::begin(kBarcodeArgs), std::end(kBarcodeArgs))) {
        return false;
      }
      data.assign(kBarcodeChars - std::min(lastBarcode_.size(), kBarcodeChars), '0');
      data.insert(data.end(), lastBarcode_.begin(),
                  lastBarcode_.begin() +
                      static_cast<std::ptrdiff_t>(std::min(lastBarcode_.size(), kBarcodeChars)));
      hasData = true;
      return true;
    default:
      return false;
  }
}

// The accounting counters: command 4 reads the 4 BCD bytes of a record,
// command 3 writes the 4 bytes that follow the size argument.
bool RegisterDevice::AnswerMemory(std::vector<uint8_t>& data, bool& hasData) {
  const auto args = request_.Args();
  const uint16_t n = request_.RecordNumber();
  if (n >= kRecords || args.size() < 3 || args[2] != kCounterBytes) return false;
  if (request_.Command() == kWriteMemory) {
    if (args.size() != 3 + kCounterBytes) return false;
    counters_[n] = static_cast<uint32_t>(sim::UnpackBcd(args.subspan(3)) % kCounterLimit);
    return true;
  }
  if (args.size() != 3) return false;
  data.assign(kCounterBytes, 0);
  sim::PackBcd(counters_[n], data);
  hasData = true;
  return true;
}

void RegisterDevice::Send(std::vector<uint8_t> bytes, int64_t atUs, SimulatedLine& line) {
  faults_.AddNoise(bytes);
  line.SendToMaster(bytes, atUs + faults_.Turnaround());
}

}  // namespace zel
