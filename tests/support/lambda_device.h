// A line device whose answers come from a test's function: for each byte it
// receives, the function returns the bytes to send back; and the answers of
// a device that echoes its address and every body's checksum.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "sim/simulated_line.h"

namespace zel::testing {

class LambdaDevice final : public LineDevice {
 public:
  using Answer = std::function<std::vector<uint8_t>(uint8_t byte, Parity parity)>;

  explicit LambdaDevice(Answer answer, int64_t turnaroundUs = 500)
      : answer_(std::move(answer)), turnaroundUs_(turnaroundUs) {}

  void Receive(uint8_t byte, Parity parity, uint32_t /*baud*/, int64_t atUs,
               SimulatedLine& line) override {
    received.push_back(byte);
    const std::vector<uint8_t> reply = answer_(byte, parity);
    if (!reply.empty()) line.SendToMaster(reply, atUs + turnaroundUs_);
  }

  std::vector<uint8_t> received;

 private:
  Answer answer_;
  int64_t turnaroundUs_;
};

/// Echoes a mark-parity byte equal to `address`, and the checksum of each body.
inline LambdaDevice::Answer AddressedEcho(uint8_t address) {
  using Bytes = std::vector<uint8_t>;
  auto body = std::make_shared<Bytes>();
  return [address, body](uint8_t b, Parity p) -> Bytes {
    if (p == Parity::Mark) {
      body->clear();
      return b == address ? Bytes{b} : Bytes{};
    }
    body->push_back(b);
    if (body->size() == static_cast<std::size_t>((*body)[0]) + 2) return Bytes{b};
    return {};
  };
}

}  // namespace zel::testing
