#include "devices/register_commands.h"

#include <array>
#include <span>
#include <vector>

#include "devices/register_record.h"
#include "link/frames.h"

namespace zel {
namespace {

constexpr int kEchoMs = 500;
constexpr int kBarcodeEchoMs = 50;
constexpr int kReadRecordAckMs = 1500;
constexpr int kAckMs = 500;
constexpr int kBarcodeAckMs = 100;
constexpr int kReplyMs = 500;
constexpr int kWritePauseMs = 5;
constexpr uint8_t kAccountingFieldBytes = 4;
// Memory argument and size of the barcode request: 12 bytes at 0x2AD9.
constexpr std::array<uint8_t, 3> kBarcodeArgs = {0xD9, 0x2A, kRegisterBarcodeChars};

// Address phase with held settings; pauseMs is waited after the echo and
// before the switch to space parity. The line is left at space parity.
bool SelectRegister(Link& link, int echoMs, int pauseMs = 0) {
  const uint8_t address = link.Addresses().RegisterAddressByte();
  if (pauseMs == 0) return link.SelectDevice(address, echoMs, EchoRule::CompareStrict);
  if (!link.PortValid()) return false;
  link.Purge();
  link.SetParity(Parity::Mark);
  link.PortWrite(std::span(&address, 1));
  uint8_t echo = 0;
  const bool ok =
      link.WaitForBytes(1, echoMs) && link.PortRead(std::span(&echo, 1)) == 1 && echo == address;
  if (ok && pauseMs > 0) link.LinkDelay(pauseMs);
  link.SetParity(Parity::Space);
  return ok;
}

void WriteOneByteEach(Link& link, std::span<const uint8_t> bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) link.PortWrite(bytes.subspan(i, 1));
}

bool AwaitAck(Link& link, uint8_t checksum, int ackMs) {
  uint8_t echo = 0;
  return link.WaitForBytes(1, ackMs) && link.PortRead(std::span(&echo, 1)) == 1 && echo == checksum;
}

// S, the data into the main buffer and C, read in three reads once all
// of them are queued.
bool ReadDataReply(Link& link, std::size_t dataBytes) {
  if (!link.WaitForBytes(dataBytes + 2, kReplyMs)) return false;
  uint8_t status = 0;
  uint8_t check = 0;
  const auto data = std::span(link.Buffers().main).first(dataBytes);
  if (link.PortRead(std::span(&status, 1)) != 1) return false;
  if (link.PortRead(data) != dataBytes) return false;
  if (link.PortRead(std::span(&check, 1)) != 1) return false;
  uint8_t sum = status;
  for (uint8_t b : data) sum = static_cast<uint8_t>(sum + b);
  return check == static_cast<uint8_t>(0xFF - sum);
}

}  // namespace

bool RegisterReadRecord(Link& link, uint16_t record) {
  const std::vector<uint8_t> body = RecordBody(kRegisterReadRecordCode, record);
  if (!SelectRegister(link, kEchoMs)) return false;
  link.PortWrite(body);
  return AwaitAck(link, body.back(), kReadRecordAckMs) && ReadDataReply(link, kRegisterRecordBytes);
}

bool RegisterWriteRecord(Link& link, uint16_t record) {
  const auto data = std::span(link.Buffers().main).first(kRegisterRecordBytes);
  const std::vector<uint8_t> frame = RecordBody(kRegisterWriteRecordCode, record, data);
  if (!SelectRegister(link, kEchoMs, kWritePauseMs)) return false;
  const auto bytes = std::span(frame);
  link.PortWrite(bytes.first(4));
  link.LinkDelay(kWritePauseMs);
  WriteOneByteEach(link, bytes.subspan(4, kRegisterRecordBytes));
  link.PortWrite(bytes.last(1));
  return AwaitAck(link, frame.back(), kAckMs);
}

bool RegisterReadAccounting(Link& link, uint16_t record) {
  const std::array<uint8_t, 1> args = {kAccountingFieldBytes};
  const std::vector<uint8_t> body = RecordBody(kRegisterReadMemoryCode, record, args);
  if (!SelectRegister(link, kEchoMs)) return false;
  WriteOneByteEach(link, body);
  return AwaitAck(link, body.back(), kAckMs) && ReadDataReply(link, kRegisterAccountingBytes);
}

bool RegisterResetAccounting(Link& link, uint16_t record) {
  const std::array<uint8_t, 5> args = {kAccountingFieldBytes, 0, 0, 0, 0};
  const std::vector<uint8_t> body = RecordBody(kRegisterWriteMemoryCode, record, args);
  if (!SelectRegister(link, kEchoMs)) return false;
  WriteOneByteEach(link, body);
  return AwaitAck(link, body.back(), kAckMs);
}

bool RegisterReadLastBarcode(Link& link) {
  const std::vector<uint8_t> body = AddressedBody(kRegisterReadBarcodeCode, kBarcodeArgs);
  if (!SelectRegister(link, kBarcodeEchoMs)) return false;
  link.PortWrite(body);
  return AwaitAck(link, body.back(), kBarcodeAckMs) && ReadDataReply(link, kRegisterBarcodeChars);
}

}  // namespace zel
