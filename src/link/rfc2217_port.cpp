#include "link/rfc2217_port.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <utility>

namespace zel {
namespace {

using telnet::ComPortCode;

// An answer this far off the asked speed garbles every byte.
constexpr double kSpeedTolerance = 0.015;
// A server that has answered purges and then stops answering them would make
// us discard its data for ever; after this many unanswered we stop waiting.
constexpr int kMaxPurgesPending = 8;
// Bound on one Pump, so that a flooding server cannot hold the caller.
constexpr int kMaxReceivesPerPump = 64;
constexpr char kSignature[] = "ZELBase";
// A server that never answers must not make the lists of questions grow for ever.
constexpr std::size_t kMaxAnswersPending = 64;

timespec Remaining(int64_t deadlineUs, int64_t nowUs) {
  const int64_t us = std::max<int64_t>(0, deadlineUs - nowUs);
  return timespec{static_cast<time_t>(us / 1'000'000), static_cast<long>(us % 1'000'000) * 1000};
}

uint8_t ParityValue(Parity p) {
  switch (p) {
    case Parity::Mark:
      return telnet::kParityMark;
    case Parity::Space:
      return telnet::kParitySpace;
    case Parity::None:
      break;
  }
  return telnet::kParityNone;
}

const char* ParityName(uint8_t value) {
  switch (value) {
    case telnet::kParityMark:
      return "MARK";
    case telnet::kParitySpace:
      return "SPACE";
    default:
      return "NONE";
  }
}

// Our side of the conversation: binary data, the COM-PORT-OPTION, and
// suppressing go-ahead (we never send one anyway).
bool WeSupport(uint8_t option) {
  return option == telnet::kOptBinary || option == telnet::kOptComPort ||
         option == telnet::kOptSuppressGoAhead;
}

// The server's side: binary data and no go-ahead. An echo of our bytes
// would be taken for the device's answer, so ECHO is refused.
bool PeerMaySupport(uint8_t option) {
  return option == telnet::kOptBinary || option == telnet::kOptSuppressGoAhead;
}

template <typename T>
void Remember(std::deque<T>& asked, T value) {
  if (asked.size() >= kMaxAnswersPending) asked.pop_front();
  asked.push_back(value);
}

// Answers come one per request and in order, yet a server may fill each in
// with the value in force when it answers (ser2net does): an answer is good
// when it agrees with any request still unanswered, or with `current` when
// none is.
template <typename T, typename Agrees>
bool AnswerAgrees(std::deque<T>& asked, T current, Agrees agrees) {
  const bool ok = asked.empty() ? agrees(current) : std::any_of(asked.begin(), asked.end(), agrees);
  if (!asked.empty()) asked.pop_front();
  return ok;
}

}  // namespace

Rfc2217Port::Rfc2217Port(const std::string& path, Rfc2217Timeouts timeouts)
    : timeouts_(timeouts), path_(path) {
  Rfc2217Address address;
  if (!ParseRfc2217Path(path, &address)) {
    problem_ = path + ": expected rfc2217://HOST:PORT";
    return;
  }
  std::string error;
  fd_ = ConnectTcp(address, timeouts_.connectMs, &error);
  if (fd_ < 0) {
    problem_ = path + ": " + error;
    return;
  }
  if (!Negotiate()) {
    ::close(fd_);
    fd_ = -1;
  }
}

Rfc2217Port::~Rfc2217Port() {
  if (fd_ >= 0) ::close(fd_);
}

// Asks for the COM-PORT-OPTION and binary data both ways, silences the
// server's state notifications, and learns whether it answers a purge: only
// then can data that was under way before a purge be told from what follows.
bool Rfc2217Port::Negotiate() {
  std::vector<uint8_t> out;
  telnet::AppendVerb(telnet::kWill, telnet::kOptComPort, out);
  telnet::AppendVerb(telnet::kWill, telnet::kOptBinary, out);
  telnet::AppendVerb(telnet::kDo, telnet::kOptBinary, out);
  usAsked_[telnet::kOptComPort] = usAsked_[telnet::kOptBinary] = true;
  peerAsked_[telnet::kOptBinary] = true;
  if (!SendAll(out, timeouts_.commandMs)) return false;
  const int64_t deadline = clock_.NowUs() + int64_t{timeouts_.negotiateMs} * 1000;
  if (!WaitUntil([this] { return comPortAgreed_ || comPortRefused_; }, deadline) ||
      !comPortAgreed_) {
    if (IsOpen()) problem_ = path_ + ": the server does not offer RFC 2217 port control";
    return false;
  }
  SendByte(ComPortCode::SetLineStateMask, 0);
  SendByte(ComPortCode::SetModemStateMask, 0);
  SendByte(ComPortCode::PurgeData, telnet::kPurgeBoth);
  purgesPending_ = 1;
  const int64_t probeDeadline = clock_.NowUs() + int64_t{timeouts_.purgeProbeMs} * 1000;
  purgeAcknowledged_ = WaitUntil([this] { return purgesPending_ == 0; }, probeDeadline);
  purgesPending_ = 0;
  return IsOpen();
}

template <typename Done>
bool Rfc2217Port::WaitUntil(Done done, int64_t deadlineUs) {
  while (Pump()) {
    if (done()) return true;
    const int64_t now = clock_.NowUs();
    if (now >= deadlineUs) return false;
    pollfd p{fd_, POLLIN, 0};
    const timespec ts = Remaining(deadlineUs, now);
    if (::ppoll(&p, 1, &ts, nullptr) < 0 && errno != EINTR) MarkGone("poll failed", errno);
  }
  return false;
}

void Rfc2217Port::MarkGone(const std::string& what, int err) {
  if (gone_) return;
  gone_ = true;
  problem_ = path_ + ": " + what + (err ? std::string(": ") + std::strerror(err) : "");
}

bool Rfc2217Port::Pump() {
  if (!IsOpen()) return false;
  if (rxHead_ > 0 && (rxHead_ == rx_.size() || rxHead_ > 4096)) {
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(rxHead_));
    rxHead_ = 0;
  }
  uint8_t chunk[4096];
  for (int i = 0; i < kMaxReceivesPerPump; ++i) {
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n > 0) {
      // Acknowledge at once: a server with Nagle's algorithm on holds its next
      // short reply until our ACK, and a delayed one (40 ms) outlasts an echo.
      // Linux clears the flag again on its own, so it is set after each read.
      const int one = 1;
      ::setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
      for (ssize_t k = 0; k < n; ++k) Take(parser_.Feed(chunk[k]));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0)
      MarkGone("connection closed by the server", 0);
    else if (errno != EAGAIN && errno != EWOULDBLOCK)
      MarkGone("connection lost", errno);
    break;
  }
  return IsOpen();
}

void Rfc2217Port::Take(const telnet::Item& item) {
  switch (item.kind) {
    case telnet::ItemKind::Data:
      TakeData(item.value);
      break;
    case telnet::ItemKind::Verb:
      TakeVerb(item.verb, item.value);
      break;
    case telnet::ItemKind::Sub:
      TakeServerCommand(parser_.Sub());
      break;
    case telnet::ItemKind::None:
      break;
  }
}

void Rfc2217Port::TakeData(uint8_t byte) {
  if (purgesPending_ > 0) return;  // was on its way before the purge
  // Beyond the queue limit bytes are dropped, as a driver's overrun would.
  if (Held() < queueLimit_) rx_.push_back(byte);
}

// Answers go out only when an option changes state and we did not ask for
// the change ourselves, so two peers never loop on each other (RFC 854).
void Rfc2217Port::TakeVerb(uint8_t verb, uint8_t option) {
  const bool usSide = verb == telnet::kDo || verb == telnet::kDont;
  const bool on = verb == telnet::kDo || verb == telnet::kWill;
  const bool supported = usSide ? WeSupport(option) : PeerMaySupport(option);
  bool& enabled = usSide ? usOn_[option] : peerOn_[option];
  const bool wasAsked = std::exchange(usSide ? usAsked_[option] : peerAsked_[option], false);
  if (usSide && option == telnet::kOptComPort && !on) {
    comPortRefused_ = true;
    if (comPortAgreed_) MarkGone("the server withdrew RFC 2217 port control", 0);
  }
  if (on && !supported) return SendVerb(usSide ? telnet::kWont : telnet::kDont, option);
  if (on == enabled) return;
  enabled = on;
  if (!wasAsked)
    SendVerb(usSide ? (on ? telnet::kWill : telnet::kWont) : (on ? telnet::kDo : telnet::kDont),
             option);
  comPortAgreed_ = usOn_[telnet::kOptComPort];
  usBinary_ = usOn_[telnet::kOptBinary];
  parser_.SetPeerBinary(peerOn_[telnet::kOptBinary]);
}

void Rfc2217Port::SendVerb(uint8_t verb, uint8_t option) {
  std::vector<uint8_t> out;
  telnet::AppendVerb(verb, option, out);
  SendAll(out, timeouts_.commandMs);
}

void Rfc2217Port::TakeServerCommand(std::span<const uint8_t> sub) {
  if (sub.size() < 2 || sub[0] != telnet::kOptComPort) return;
  const int code = sub[1] - telnet::kServerCodeOffset;
  const std::span<const uint8_t> value = sub.subspan(2);
  switch (static_cast<ComPortCode>(code)) {
    case ComPortCode::Signature:
      if (value.empty()) {
        const auto* text = reinterpret_cast<const uint8_t*>(kSignature);
        SendCommand(ComPortCode::Signature, std::span(text, sizeof kSignature - 1));
      }
      break;
    case ComPortCode::SetBaudRate:
      CheckBaudAnswer(value);
      break;
    case ComPortCode::SetParity:
      if (value.size() == 1) CheckParityAnswer(value[0]);
      break;
    case ComPortCode::PurgeData:
      if (purgesPending_ > 0) --purgesPending_;
      break;
    default:  // notifications and answers that need nothing from us
      break;
  }
}

void Rfc2217Port::CheckBaudAnswer(std::span<const uint8_t> value) {
  if (value.size() != 4) return;
  const uint32_t actual = (uint32_t{value[0]} << 24) | (uint32_t{value[1]} << 16) |
                          (uint32_t{value[2]} << 8) | value[3];
  const auto near = [actual](uint32_t asked) {
    return asked == 0 || std::abs(static_cast<double>(actual) - asked) / asked <= kSpeedTolerance;
  };
  if (AnswerAgrees(baudsAsked_, settings_.baud, near)) {
    speedProblem_.clear();
    return;
  }
  std::string text = path_ + ": сервер не поддерживает скорость " + std::to_string(settings_.baud) +
                     " бод (установлено " + std::to_string(actual) + ")";
  if (text != speedProblem_) problem_ = text;
  speedProblem_ = std::move(text);
}

void Rfc2217Port::CheckParityAnswer(uint8_t value) {
  const uint8_t current = ParityValue(settings_.parity);
  const auto same = [value](uint8_t asked) { return asked == value; };
  if (AnswerAgrees(paritiesAsked_, current, same) || !parityProblem_.empty()) return;
  parityProblem_ = path_ + ": сервер не поддерживает чётность " + ParityName(current);
  problem_ = parityProblem_;
}

std::string Rfc2217Port::LineProblem() {
  if (answersAwaited_ && IsOpen()) {
    const int64_t deadline = clock_.NowUs() + int64_t{timeouts_.answerMs} * 1000;
    answersAwaited_ =
        WaitUntil([this] { return baudsAsked_.empty() && paritiesAsked_.empty(); }, deadline);
  }
  if (speedProblem_.empty() || parityProblem_.empty()) return speedProblem_ + parityProblem_;
  return speedProblem_ + "\n" + parityProblem_;
}

bool Rfc2217Port::SendAll(const std::vector<uint8_t>& bytes, int timeoutMs) {
  const int64_t deadline = clock_.NowUs() + int64_t{timeoutMs} * 1000;
  std::size_t done = 0;
  while (done < bytes.size() && IsOpen()) {
    const ssize_t w =
        ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (w > 0) {
      done += static_cast<std::size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      MarkGone("connection lost", errno);
      break;
    }
    const int64_t now = clock_.NowUs();
    if (now >= deadline) {
      MarkGone("the server takes no data", 0);
      break;
    }
    pollfd p{fd_, POLLOUT, 0};
    const timespec ts = Remaining(deadline, now);
    if (::ppoll(&p, 1, &ts, nullptr) < 0 && errno != EINTR) MarkGone("poll failed", errno);
  }
  return done == bytes.size();
}

void Rfc2217Port::SendCommand(ComPortCode code, std::span<const uint8_t> value) {
  std::vector<uint8_t> out;
  telnet::AppendComPort(code, value, out);
  SendAll(out, timeouts_.commandMs);
}

void Rfc2217Port::SendByte(ComPortCode code, uint8_t value) {
  SendCommand(code, std::span(&value, 1));
}

// Only what changed goes out, so a parity switch is one short command. The
// server applies it without draining its UART, hence our own drain first.
bool Rfc2217Port::Apply(const LineSettings& s, bool drain) {
  if (!IsOpen()) return false;
  if (drain) clock_.WaitUntilUs(txFreeUs_);
  std::vector<uint8_t> out;
  const auto add = [&out](ComPortCode code, std::span<const uint8_t> value) {
    telnet::AppendComPort(code, value, out);
  };
  const auto addByte = [&add](ComPortCode code, uint8_t value) { add(code, std::span(&value, 1)); };
  if (!sentAny_ || s.baud != settings_.baud) {
    add(ComPortCode::SetBaudRate, telnet::BaudValue(s.baud));
    Remember(baudsAsked_, s.baud);
  }
  if (!sentAny_ || s.dataBits != settings_.dataBits) addByte(ComPortCode::SetDataSize, s.dataBits);
  if (!sentAny_ || s.parity != settings_.parity) {
    addByte(ComPortCode::SetParity, ParityValue(s.parity));
    Remember(paritiesAsked_, ParityValue(s.parity));
  }
  if (!sentAny_ || s.stopBits != settings_.stopBits)
    addByte(ComPortCode::SetStopSize, s.stopBits == 2 ? 2 : 1);
  if (!sentAny_) addByte(ComPortCode::SetControl, telnet::kControlNoFlow);
  // RTS handshake with a queue that never fills means RTS stays raised.
  if (!sentAny_ || s.RtsHandshake() != settings_.RtsHandshake())
    addByte(ComPortCode::SetControl,
            s.RtsHandshake() ? telnet::kControlRtsOn : telnet::kControlRtsOff);
  sentAny_ = true;
  settings_ = s;
  return SendAll(out, timeouts_.commandMs);
}

void Rfc2217Port::SetDtr(bool raised) {
  if (IsOpen())
    SendByte(ComPortCode::SetControl, raised ? telnet::kControlDtrOn : telnet::kControlDtrOff);
}

void Rfc2217Port::Purge() {
  Pump();
  rx_.clear();
  rxHead_ = 0;
  if (!IsOpen()) return;
  SendByte(ComPortCode::PurgeData, telnet::kPurgeBoth);
  if (!purgeAcknowledged_) return;
  if (++purgesPending_ > kMaxPurgesPending) {
    purgeAcknowledged_ = false;
    purgesPending_ = 0;
    problem_ = path_ + ": the server stopped answering purges";
  }
}

std::size_t Rfc2217Port::BytesWaiting() {
  Pump();
  return Held();
}

bool Rfc2217Port::WaitForBytes(std::size_t count, int64_t deadlineUs) {
  if (WaitUntil([this, count] { return Held() >= count; }, deadlineUs)) return true;
  return Held() >= count;
}

std::size_t Rfc2217Port::Read(uint8_t* dst, std::size_t maxBytes) {
  Pump();
  const std::size_t n = std::min(maxBytes, Held());
  std::copy_n(rx_.begin() + static_cast<std::ptrdiff_t>(rxHead_), n, dst);
  rxHead_ += n;
  return n;
}

std::size_t Rfc2217Port::Write(const uint8_t* src, std::size_t n, int timeoutMs) {
  if (!IsOpen() || n == 0) return 0;
  std::vector<uint8_t> out;
  out.reserve(n + 8);
  telnet::AppendEscaped(std::span(src, n), !usBinary_, out);
  if (!SendAll(out, timeoutMs)) return 0;
  const int64_t start = std::max(clock_.NowUs(), txFreeUs_);
  txFreeUs_ = start + static_cast<int64_t>(n) * settings_.ByteTimeUs();
  return n;
}

}  // namespace zel
