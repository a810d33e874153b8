// A line device whose answers come from a test's function: for each byte it
// receives, the function returns the bytes to send back.
#pragma once

#include <cstdint>
#include <functional>
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

}  // namespace zel::testing
