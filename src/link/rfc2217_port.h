// A serial line behind a network serial server (ser2net, a hardware device
// server) through RFC 2217, the Telnet COM-PORT-OPTION. Line data and
// commands share one TCP stream, so the server applies a command exactly
// between the bytes written before it and after it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "link/byte_port.h"
#include "link/clock.h"
#include "link/tcp_endpoint.h"
#include "link/telnet.h"

namespace zel {

struct Rfc2217Timeouts {
  int connectMs = 3000;    ///< TCP connection
  int negotiateMs = 2000;  ///< the server's answer to COM-PORT-OPTION
  int purgeProbeMs = 300;  ///< the answer to the first purge; a server may never answer
  int commandMs = 1000;    ///< sending one command into a full socket
  int answerMs = 300;      ///< the answers to speed and parity changes, when asked for
};

class Rfc2217Port final : public BytePort {
 public:
  /// Connects and negotiates; IsOpen() tells whether it worked, LastProblem() why not.
  explicit Rfc2217Port(const std::string& path, Rfc2217Timeouts timeouts = {});
  ~Rfc2217Port() override;
  Rfc2217Port(const Rfc2217Port&) = delete;
  Rfc2217Port& operator=(const Rfc2217Port&) = delete;

  bool IsOpen() const override { return fd_ >= 0 && !gone_; }
  Clock& GetClock() override { return clock_; }
  bool Apply(const LineSettings& settings, bool drain) override;
  LineSettings Current() override { return settings_; }
  void SetDtr(bool raised) override;
  void Purge() override;
  std::size_t BytesWaiting() override;
  bool WaitForBytes(std::size_t count, int64_t deadlineUs) override;
  std::size_t Read(uint8_t* dst, std::size_t maxBytes) override;
  std::size_t Write(const uint8_t* src, std::size_t n, int timeoutMs) override;
  /// The server tells nothing of its UART: the modelled transmit time.
  void WaitUntilSent() override { clock_.SleepUntilUs(txFreeUs_); }
  void SetInputQueueBytes(std::size_t bytes) override { queueLimit_ = bytes; }
  std::string LastProblem() const override { return problem_; }
  /// Waits up to answerMs for the speed and parity answers still due.
  std::string LineProblem() override;
  /// A reply crosses the server and the network in pieces; a pause between
  /// them is not yet the end of the reply.
  int64_t DeliveryJitterUs() const override { return 10'000; }

 private:
  bool Negotiate();
  /// Waits for the server until `done` holds or deadlineUs passes.
  template <typename Done>
  bool WaitUntil(Done done, int64_t deadlineUs);
  /// Moves everything the socket holds through the parser; false when gone.
  bool Pump();
  void Take(const telnet::Item& item);
  void TakeData(uint8_t byte);
  void TakeVerb(uint8_t verb, uint8_t option);
  void TakeServerCommand(std::span<const uint8_t> sub);
  void CheckBaudAnswer(std::span<const uint8_t> value);
  void CheckParityAnswer(uint8_t value);
  void SendVerb(uint8_t verb, uint8_t option);
  void SendCommand(telnet::ComPortCode code, std::span<const uint8_t> value);
  void SendByte(telnet::ComPortCode code, uint8_t value);
  /// Sends all of `bytes` or gives the connection up: a half-sent escape
  /// would corrupt every byte after it.
  bool SendAll(const std::vector<uint8_t>& bytes, int timeoutMs);
  void MarkGone(const std::string& what, int err);
  std::size_t Held() const { return rx_.size() - rxHead_; }

  SteadyClock clock_;
  Rfc2217Timeouts timeouts_;
  std::string path_;
  int fd_ = -1;
  bool gone_ = false;
  std::string problem_;

  telnet::Parser parser_;
  // Telnet option states, our side (DO/DONT) and the server's (WILL/WONT),
  // and which changes we asked for, whose answers need no answer.
  std::array<bool, 256> usOn_{};
  std::array<bool, 256> peerOn_{};
  std::array<bool, 256> usAsked_{};
  std::array<bool, 256> peerAsked_{};
  bool comPortAgreed_ = false;
  bool comPortRefused_ = false;
  bool usBinary_ = false;  ///< we send binary: no CR NUL
  bool purgeAcknowledged_ = false;
  int purgesPending_ = 0;  ///< purges whose answer is still ahead in the stream

  LineSettings settings_;
  bool sentAny_ = false;  ///< settings_ has been sent to the server
  // Speeds and parities asked and not yet answered, oldest first: an answer
  // may arrive after the next request went out.
  std::deque<uint32_t> baudsAsked_;
  std::deque<uint8_t> paritiesAsked_;
  std::string speedProblem_;    ///< from the last answer to a speed change
  std::string parityProblem_;   ///< a parity refused once stays refused
  bool answersAwaited_ = true;  ///< false once the server let a wait for them run out
  int64_t txFreeUs_ = 0;        ///< when the bytes written so far have left the line

  std::size_t queueLimit_ = 30000;
  std::vector<uint8_t> rx_;
  std::size_t rxHead_ = 0;
};

}  // namespace zel
