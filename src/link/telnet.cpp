#include "link/telnet.h"

namespace zel::telnet {
namespace {

constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kNul = 0x00;

}  // namespace

void AppendEscaped(std::span<const uint8_t> data, bool crNul, std::vector<uint8_t>& out) {
  for (uint8_t b : data) {
    out.push_back(b);
    if (b == kIac) out.push_back(kIac);
    if (b == kCr && crNul) out.push_back(kNul);
  }
}

void AppendVerb(uint8_t verb, uint8_t option, std::vector<uint8_t>& out) {
  out.insert(out.end(), {kIac, verb, option});
}

void AppendComPort(ComPortCode code, std::span<const uint8_t> value, std::vector<uint8_t>& out) {
  out.insert(out.end(), {kIac, kSb, kOptComPort, static_cast<uint8_t>(code)});
  AppendEscaped(value, false, out);
  out.insert(out.end(), {kIac, kSe});
}

std::vector<uint8_t> BaudValue(uint32_t baud) {
  return {static_cast<uint8_t>(baud >> 24), static_cast<uint8_t>(baud >> 16),
          static_cast<uint8_t>(baud >> 8), static_cast<uint8_t>(baud)};
}

Item Parser::Feed(uint8_t byte) {
  switch (state_) {
    case State::Data:
      return FeedData(byte);
    case State::Iac:
      return FeedIac(byte);
    case State::Verb:
      state_ = State::Data;
      return Item{ItemKind::Verb, byte, verb_};
    case State::Sub:
    case State::SubIac:
      return FeedSub(byte);
  }
  return {};
}

Item Parser::FeedData(uint8_t byte) {
  if (byte == kIac) {
    state_ = State::Iac;
    return {};
  }
  const bool dropNul = afterCr_ && byte == kNul && !peerBinary_;
  afterCr_ = byte == kCr;
  if (dropNul) return {};
  return Item{ItemKind::Data, byte, 0};
}

Item Parser::FeedIac(uint8_t byte) {
  state_ = State::Data;
  switch (byte) {
    case kIac:
      afterCr_ = false;
      return Item{ItemKind::Data, kIac, 0};
    case kWill:
    case kWont:
    case kDo:
    case kDont:
      verb_ = byte;
      state_ = State::Verb;
      return {};
    case kSb:
      sub_.clear();
      state_ = State::Sub;
      return {};
    default:  // NOP, GA, a stray SE and the rest carry nothing for a serial line
      return {};
  }
}

Item Parser::FeedSub(uint8_t byte) {
  if (state_ == State::Sub) {
    if (byte == kIac)
      state_ = State::SubIac;
    else if (sub_.size() < kMaxSubBytes)
      sub_.push_back(byte);
    return {};
  }
  // After an IAC inside a sub-negotiation.
  if (byte == kIac) {
    if (sub_.size() < kMaxSubBytes) sub_.push_back(kIac);
    state_ = State::Sub;
    return {};
  }
  if (byte == kSe) {
    state_ = State::Data;
    return sub_.empty() ? Item{} : Item{ItemKind::Sub, sub_[0], 0};
  }
  // IAC followed by anything else ends a broken sub-negotiation; the byte
  // is read as the command after that IAC, so the stream resynchronises.
  sub_.clear();
  state_ = State::Iac;
  return Feed(byte);
}

}  // namespace zel::telnet
