// Telnet framing (RFC 854) and the COM-PORT-OPTION commands (RFC 2217) that a
// network serial server understands. Pure byte work: no sockets, no clock.
//
// Layout on the stream:
//   data byte 0xFF          FF FF
//   option verb             FF {FB WILL | FC WONT | FD DO | FE DONT} option
//   sub-negotiation         FF FA option payload... FF F0   (0xFF in payload doubled)
//   COM-PORT-OPTION command FF FA 2C code value... FF F0
//     client codes 0..12; the server answers with code + 100
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zel::telnet {

inline constexpr uint8_t kSe = 0xF0;
inline constexpr uint8_t kSb = 0xFA;
inline constexpr uint8_t kWill = 0xFB;
inline constexpr uint8_t kWont = 0xFC;
inline constexpr uint8_t kDo = 0xFD;
inline constexpr uint8_t kDont = 0xFE;
inline constexpr uint8_t kIac = 0xFF;

inline constexpr uint8_t kOptBinary = 0x00;
inline constexpr uint8_t kOptEcho = 0x01;
inline constexpr uint8_t kOptSuppressGoAhead = 0x03;
inline constexpr uint8_t kOptComPort = 0x2C;

/// COM-PORT-OPTION command codes sent by the client.
enum class ComPortCode : uint8_t {
  Signature = 0,
  SetBaudRate = 1,
  SetDataSize = 2,
  SetParity = 3,
  SetStopSize = 4,
  SetControl = 5,
  NotifyLineState = 6,
  NotifyModemState = 7,
  FlowControlSuspend = 8,
  FlowControlResume = 9,
  SetLineStateMask = 10,
  SetModemStateMask = 11,
  PurgeData = 12,
};
/// The server's answers carry the client's code plus this.
inline constexpr uint8_t kServerCodeOffset = 100;

// Values of SET-PARITY.
inline constexpr uint8_t kParityNone = 1;
inline constexpr uint8_t kParityMark = 4;
inline constexpr uint8_t kParitySpace = 5;
// Values of SET-CONTROL.
inline constexpr uint8_t kControlNoFlow = 1;
inline constexpr uint8_t kControlDtrOn = 8;
inline constexpr uint8_t kControlDtrOff = 9;
inline constexpr uint8_t kControlRtsOn = 11;
inline constexpr uint8_t kControlRtsOff = 12;
// Value of PURGE-DATA: the server's receive and transmit buffers.
inline constexpr uint8_t kPurgeBoth = 3;

/// Longest sub-negotiation payload kept; the rest of a longer one is dropped.
inline constexpr std::size_t kMaxSubBytes = 64;

/// Appends `data` to `out` with every 0xFF doubled; with crNul (peer not in
/// binary mode) a CR is followed by NUL.
void AppendEscaped(std::span<const uint8_t> data, bool crNul, std::vector<uint8_t>& out);

/// Appends IAC verb option.
void AppendVerb(uint8_t verb, uint8_t option, std::vector<uint8_t>& out);

/// Appends one COM-PORT-OPTION command with its value bytes escaped.
void AppendComPort(ComPortCode code, std::span<const uint8_t> value, std::vector<uint8_t>& out);

/// Four bytes of a baud rate, network order, as SET-BAUDRATE carries it.
std::vector<uint8_t> BaudValue(uint32_t baud);

/// What one received byte turned out to be.
enum class ItemKind : uint8_t { None, Data, Verb, Sub };

struct Item {
  ItemKind kind = ItemKind::None;
  uint8_t value = 0;  ///< the data byte, or the option of a verb
  uint8_t verb = 0;   ///< kWill / kWont / kDo / kDont
};

/// Splits a received stream into data, option verbs and sub-negotiations.
/// Never fails: a broken sequence is dropped, a long payload is cut.
class Parser {
 public:
  /// Takes one byte; Sub means Sub() holds a complete sub-negotiation
  /// (option first) until the next call.
  Item Feed(uint8_t byte);
  /// Option byte and payload of the last complete sub-negotiation.
  std::span<const uint8_t> Sub() const { return sub_; }
  /// With the peer outside binary mode a CR is followed by a NUL to drop.
  void SetPeerBinary(bool binary) { peerBinary_ = binary; }

 private:
  enum class State : uint8_t { Data, Iac, Verb, Sub, SubIac };

  Item FeedData(uint8_t byte);
  Item FeedIac(uint8_t byte);
  Item FeedSub(uint8_t byte);

  State state_ = State::Data;
  uint8_t verb_ = 0;
  bool peerBinary_ = false;
  bool afterCr_ = false;
  std::vector<uint8_t> sub_;
};

}  // namespace zel::telnet
