#include "sim/addressed_request.h"

namespace zel::sim {

AddressedRequest::Step AddressedRequest::Feed(uint8_t byte, Parity parity) {
  if (parity == Parity::Mark) {
    selected_ = false;
    return byte == address_ ? Step::AddressMine : Step::AddressOther;
  }
  if (parity != Parity::Space || !selected_) {
    selected_ = false;
    return Step::Ignored;
  }
  if (body_.empty() && byte == 0) {
    selected_ = false;
    return Step::Ignored;
  }
  body_.push_back(byte);
  if (body_.size() < static_cast<std::size_t>(body_[0]) + 2) return Step::BodyByte;
  selected_ = false;
  return Step::Complete;
}

bool AddressedRequest::ChecksumMatches() const {
  if (body_.size() < 3) return false;
  return DeviceChecksum8(std::span(body_).first(body_.size() - 1)) == body_.back();
}

std::span<const uint8_t> AddressedRequest::Args() const {
  if (body_.size() < 3) return {};
  return std::span(body_).subspan(2, body_.size() - 3);
}

uint16_t AddressedRequest::RecordNumber() const {
  const auto args = Args();
  return args.size() < 2 ? 0 : static_cast<uint16_t>(args[0] | args[1] << 8);
}

uint8_t DeviceChecksum8(std::span<const uint8_t> bytes) {
  unsigned sum = 0;
  for (uint8_t b : bytes) sum += b;
  return static_cast<uint8_t>(~sum);
}

void PackBcd(uint64_t value, std::span<uint8_t> out) {
  for (std::size_t i = out.size(); i-- > 0;) {
    const unsigned low = value % 10;
    value /= 10;
    const unsigned high = value % 10;
    value /= 10;
    out[i] = static_cast<uint8_t>(high << 4 | low);
  }
}

uint64_t UnpackBcd(std::span<const uint8_t> bcd) {
  uint64_t value = 0;
  for (uint8_t b : bcd) value = (value * 10 + (b >> 4)) * 10 + (b & 0x0F);
  return value;
}

}  // namespace zel::sim
