#include "link/frames.h"

namespace zel {

uint8_t Checksum8(std::span<const uint8_t> bytes) {
  uint8_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
  return static_cast<uint8_t>(0xFF - sum);
}

uint16_t Checksum16(std::span<const uint8_t> bytes) {
  uint16_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint16_t>(sum + b);
  return static_cast<uint16_t>(0xFFFF - sum);
}

std::array<uint8_t, kPrefixedFrameBytes> PrefixedFrame(uint16_t zhrmAddress, uint8_t command,
                                                       uint16_t param1, uint16_t param2) {
  std::array<uint8_t, kPrefixedFrameBytes> f = {0xF1,
                                                static_cast<uint8_t>(zhrmAddress >> 8),
                                                0xF2,
                                                static_cast<uint8_t>(zhrmAddress & 0xFF),
                                                command,
                                                static_cast<uint8_t>(param1 & 0xFF),
                                                static_cast<uint8_t>(param1 >> 8),
                                                static_cast<uint8_t>(param2 & 0xFF),
                                                static_cast<uint8_t>(param2 >> 8),
                                                0};
  f[9] = Checksum8(std::span(f).subspan(4, 5));
  return f;
}

std::vector<uint8_t> AddressedBody(uint8_t command, std::span<const uint8_t> args) {
  std::vector<uint8_t> body;
  body.reserve(args.size() + 3);
  body.push_back(static_cast<uint8_t>(args.size() + 1));
  body.push_back(command);
  body.insert(body.end(), args.begin(), args.end());
  body.push_back(Checksum8(body));
  return body;
}

std::vector<uint8_t> RecordBody(uint8_t command, uint16_t record, std::span<const uint8_t> data) {
  std::vector<uint8_t> args = {static_cast<uint8_t>(record & 0xFF),
                               static_cast<uint8_t>(record >> 8)};
  args.insert(args.end(), data.begin(), data.end());
  return AddressedBody(command, args);
}

std::array<uint8_t, kRegisterLockFrameBytes> RegisterLockFrame(uint8_t arg, uint16_t kkmAddress) {
  std::array<uint8_t, kRegisterLockFrameBytes> f = {0x0A,
                                                    0x06,
                                                    arg,
                                                    0x00,
                                                    static_cast<uint8_t>(kkmAddress & 0xFF),
                                                    static_cast<uint8_t>(kkmAddress >> 8),
                                                    0};
  f[6] = Checksum8(std::span(f).first(6));
  return f;
}

}  // namespace zel
