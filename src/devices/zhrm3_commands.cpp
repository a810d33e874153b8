#include "devices/zhrm3_commands.h"

#include <array>
#include <span>
#include <vector>

#include "devices/zhrm3_exchange.h"
#include "link/frames.h"

namespace zel {
namespace {

constexpr uint8_t kAccountingArg = 1;
constexpr uint8_t kTapeRecordArg = 1;
constexpr int kRecordWaitMs = 200;
constexpr int kWriteAckMs = 250;
constexpr int kShortEchoMs = 20;
constexpr int kTapeAckMs = 500;
constexpr int kTapeReplyMs = 150;

// Address phases and acknowledgement waits of the command table.
constexpr AddressPhase kReadPhase{kRecordWaitMs, EchoRule::Compare, true};
constexpr AddressPhase kAccountingPhase{kRecordWaitMs, EchoRule::Accept, true};
constexpr AddressPhase kResetPhase{kRecordWaitMs, EchoRule::Compare, false};
constexpr AddressPhase kShortPhase{kShortEchoMs, EchoRule::Compare, false};
constexpr AckWait kIgnoredAck{kRecordWaitMs, false};
constexpr AckWait kStrictAck{kRecordWaitMs, true};
constexpr AckWait kTapeAck{kTapeAckMs, true};

bool SendTapeRequest(Link& link, std::span<const uint8_t> args, uint8_t command,
                     std::size_t replyBytes) {
  const std::vector<uint8_t> body = AddressedBody(command, args);
  if (!SendZhrm3Body(link, body, kShortPhase, kTapeAck)) return false;
  return ReadZhrm3Reply(link, std::span(link.Buffers().tape).first(replyBytes), kTapeReplyMs, true);
}

}  // namespace

bool Zhrm3ReadRecord(Link& link, uint16_t record) {
  const std::vector<uint8_t> body = RecordBody(kZhrm3ReadRecordCode, record);
  if (!SendZhrm3Body(link, body, kReadPhase, kIgnoredAck)) return false;
  return ReadZhrm3Reply(link, std::span(link.Buffers().main).first(kZhrm3RecordReplyBytes),
                        kRecordWaitMs, false);
}

bool Zhrm3WriteRecord(Link& link, uint16_t record) {
  auto& main = link.Buffers().main;
  main[0] = static_cast<uint8_t>(kZhrm3WriteFrameBytes - 2);
  main[1] = kZhrm3WriteRecordCode;
  main[2] = static_cast<uint8_t>(record & 0xFF);
  main[3] = static_cast<uint8_t>(record >> 8);
  const auto frame = std::span(main).first(kZhrm3WriteFrameBytes);
  frame.back() = Checksum8(frame.first(kZhrm3WriteFrameBytes - 1));
  constexpr AddressPhase kPhase{kShortEchoMs, EchoRule::Compare, false};
  return SendZhrm3Body(link, frame, kPhase, AckWait{kWriteAckMs, false});
}

bool Zhrm3ReadAccounting(Link& link, uint16_t record) {
  const std::array<uint8_t, 1> arg = {kAccountingArg};
  const std::vector<uint8_t> body = RecordBody(kZhrm3ReadAccountingCode, record, arg);
  if (!SendZhrm3Body(link, body, kAccountingPhase, kStrictAck)) return false;
  return ReadZhrm3Reply(link,
                        std::span(link.Buffers().accounting).first(kZhrm3AccountingReplyBytes),
                        kRecordWaitMs, false);
}

bool Zhrm3ResetAccounting(Link& link, uint16_t record) {
  const std::array<uint8_t, 1> arg = {kAccountingArg};
  const std::vector<uint8_t> body = RecordBody(kZhrm3ResetAccountingCode, record, arg);
  return SendZhrm3Body(link, body, kResetPhase, kIgnoredAck);
}

bool Zhrm3RequestLastBarcode(Link& link) {
  if (!link.PortValid()) return false;
  const std::vector<uint8_t> body = AddressedBody(kZhrm3LastBarcodeCode, {});
  constexpr AddressPhase kPhase{kShortEchoMs, EchoRule::Accept, false};
  SendZhrm3Body(link, body, kPhase, AckWait{kShortEchoMs, false, false});
  return true;
}

bool ReadTapeBlockInfo(Link& link, uint8_t block) {
  const std::array<uint8_t, 1> args = {block};
  return SendTapeRequest(link, args, kTapeBlockInfoCode, kTapeBlockInfoReplyBytes);
}

bool ReadTapeRecord(Link& link, uint16_t purchase, uint8_t block) {
  const std::array<uint8_t, 4> args = {block, static_cast<uint8_t>(purchase & 0xFF),
                                       static_cast<uint8_t>(purchase >> 8), kTapeRecordArg};
  return SendTapeRequest(link, args, kTapeRecordCode, kTapeRecordReplyBytes);
}

bool ClearTapeBlocks(Link& link) {
  const std::vector<uint8_t> body = AddressedBody(kClearTapeBlocksCode, {});
  return SendZhrm3Body(link, body, kShortPhase, kTapeAck);
}

}  // namespace zel
