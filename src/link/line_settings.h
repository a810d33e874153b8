// The one line-settings record of the port: speed, framing, parity, flags.
#pragma once

#include <cstdint>

namespace zel {

enum class Parity : uint8_t { None, Mark, Space };

/// Flag word with RTS in handshake mode: binary, continue after XOFF (0x2081).
inline constexpr uint16_t kFlagsRtsHandshake = 0x2081;
/// Flag word of the cash-register profile: binary mode only (0x0001).
inline constexpr uint16_t kFlagsBinaryOnly = 0x0001;

struct LineSettings {
  uint32_t baud = 9600;
  uint8_t dataBits = 8;
  Parity parity = Parity::None;
  uint8_t stopBits = 1;
  uint16_t flags = kFlagsRtsHandshake;

  /// RTS is driven by handshake (held raised while the input queue has room).
  bool RtsHandshake() const { return (flags & 0x3000) == 0x2000; }
  /// Bits on the wire per byte: start, data, parity if any, stop.
  int BitsPerByte() const { return 1 + dataBits + (parity == Parity::None ? 0 : 1) + stopBits; }
  /// Time one byte occupies the line, in microseconds.
  int64_t ByteTimeUs() const {
    return baud == 0 ? 0 : (static_cast<int64_t>(BitsPerByte()) * 1'000'000 + baud - 1) / baud;
  }
  bool operator==(const LineSettings&) const = default;
};

}  // namespace zel
