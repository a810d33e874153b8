#include "devices/zhrm200_commands.h"

#include <array>
#include <span>
#include <vector>

#include "devices/zhrm3_commands.h"
#include "devices/zhrm3_exchange.h"
#include "link/frames.h"

namespace zel {
namespace {

constexpr uint8_t kAccountingArg = 1;
constexpr int kAckWaitMs = 200;
constexpr int kRecordWaitMs = 200;
constexpr int kWriteAckMs = 250;
constexpr int kAccountingReplyMs = 2000;

// Every command selects the terminal with the repeat rule, settings re-read.
constexpr AddressPhase kPhase{0, EchoRule::Repeat, true};
constexpr AckWait kIgnoredAck{kAckWaitMs, false};

}  // namespace

bool Zhrm200ReadRecord(Link& link, uint16_t record) {
  const std::vector<uint8_t> body = RecordBody(kZhrm3ReadRecordCode, record);
  if (!SendZhrm3Body(link, body, kPhase, kIgnoredAck)) return false;
  return ReadZhrm3Reply(link, std::span(link.Buffers().main).first(kZhrm200RecordReplyBytes),
                        kRecordWaitMs, false);
}

bool Zhrm200WriteRecord(Link& link, uint16_t record) {
  auto& main = link.Buffers().main;
  main[0] = static_cast<uint8_t>(kZhrm200WriteFrameBytes - 2);
  main[1] = kZhrm3WriteRecordCode;
  main[2] = static_cast<uint8_t>(record & 0xFF);
  main[3] = static_cast<uint8_t>(record >> 8);
  const auto frame = std::span(main).first(kZhrm200WriteFrameBytes);
  frame.back() = Checksum8(frame.first(kZhrm200WriteFrameBytes - 1));
  return SendZhrm3Body(link, frame, kPhase, AckWait{kWriteAckMs, false});
}

bool Zhrm200ReadAccounting(Link& link, uint16_t record) {
  const std::array<uint8_t, 1> arg = {kAccountingArg};
  const std::vector<uint8_t> body = RecordBody(kZhrm3ReadAccountingCode, record, arg);
  if (!SendZhrm3Body(link, body, kPhase, AckWait{kAckWaitMs, true})) return false;
  return ReadZhrm3Reply(link,
                        std::span(link.Buffers().accounting).first(kZhrm3AccountingReplyBytes),
                        kAccountingReplyMs, false);
}

bool Zhrm200ResetAccounting(Link& link, uint16_t record) {
  const std::array<uint8_t, 1> arg = {kAccountingArg};
  const std::vector<uint8_t> body = RecordBody(kZhrm3ResetAccountingCode, record, arg);
  return SendZhrm3Body(link, body, kPhase, kIgnoredAck);
}

}  // namespace zel
