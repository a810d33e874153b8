#include "sim/zhrm15_20_replies.h"

namespace zel::sim {

void AppendChecksum16(std::vector<uint8_t>& bytes, const DeviceFaults& faults) {
  uint16_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint16_t>(sum + b);
  const uint16_t check = faults.Check(static_cast<uint16_t>(0xFFFF - sum));
  bytes.push_back(static_cast<uint8_t>(check & 0xFF));
  bytes.push_back(static_cast<uint8_t>(check >> 8));
}

std::vector<uint8_t> StatusReply(uint8_t status, const DeviceFaults& faults) {
  std::vector<uint8_t> reply = {status};
  AppendChecksum16(reply, faults);
  return reply;
}

std::vector<uint8_t> BarcodeAnswer16(const std::string& barcode, const DeviceFaults& faults) {
  std::vector<uint8_t> answer(14, 0);
  const std::string code = barcode.substr(0, 12);
  if (!code.empty()) {
    const std::size_t start = 12 - code.size();
    for (std::size_t i = 0; i < start; ++i) answer[i] = '0';
    for (std::size_t i = 0; i < code.size(); ++i) answer[start + i] = static_cast<uint8_t>(code[i]);
    answer[13] = static_cast<uint8_t>(start);
  }
  AppendChecksum16(answer, faults);
  return answer;
}

}  // namespace zel::sim
