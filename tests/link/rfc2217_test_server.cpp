#include "rfc2217_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace zel::testing {
namespace {

// Telnet and COM-PORT-OPTION values, typed from RFC 854 and RFC 2217.
constexpr uint8_t IAC = 0xFF, DONT = 0xFE, DO = 0xFD, WONT = 0xFC, WILL = 0xFB, SB = 0xFA,
                  SE = 0xF0;
constexpr uint8_t kBinary = 0x00, kComPort = 0x2C;
constexpr uint8_t kPurgeData = 12;
constexpr std::size_t kMaxSub = 64;
// How long the thread sleeps when nothing is due: short enough to notice a stop.
constexpr int64_t kIdleWakeUs = 50'000;

Parity ParityFromValue(uint8_t v) {
  return v == 4 ? Parity::Mark : v == 5 ? Parity::Space : Parity::None;
}

}  // namespace

Rfc2217TestServer::Rfc2217TestServer(Options options) : options_(std::move(options)) {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(listenFd_, 4) != 0 ||
      ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len) != 0 ||
      ::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  port_ = ntohs(a.sin_port);
  settings_ = line_.Settings();
  thread_ = std::thread([this] { Run(); });
}

Rfc2217TestServer::~Rfc2217TestServer() {
  stop_ = true;
  Wake();
  if (thread_.joinable()) thread_.join();
  CloseClient();
  for (int fd : {listenFd_, wakePipe_[0], wakePipe_[1]})
    if (fd >= 0) ::close(fd);
}

std::string Rfc2217TestServer::Path() const {
  return port_ ? "rfc2217://127.0.0.1:" + std::to_string(port_) : std::string();
}

void Rfc2217TestServer::Attach(std::shared_ptr<LineDevice> device) {
  std::lock_guard lock(mu_);
  line_.Attach(std::move(device));
}

void Rfc2217TestServer::Inspect(const std::function<void()>& look) {
  std::lock_guard lock(mu_);
  look();
}

std::vector<Rfc2217TestServer::Command> Rfc2217TestServer::Commands() {
  std::lock_guard lock(mu_);
  return commands_;
}

std::vector<SimulatedLine::SentByte> Rfc2217TestServer::LineBytes() {
  std::lock_guard lock(mu_);
  return line_.Sent();
}

std::vector<uint8_t> Rfc2217TestServer::Received() {
  std::lock_guard lock(mu_);
  return received_;
}

LineSettings Rfc2217TestServer::Settings() {
  std::lock_guard lock(mu_);
  return settings_;
}

bool Rfc2217TestServer::Dtr() {
  std::lock_guard lock(mu_);
  return dtr_;
}

int Rfc2217TestServer::Connections() {
  std::lock_guard lock(mu_);
  return connections_;
}

bool Rfc2217TestServer::Await(const std::function<bool()>& done, int timeoutMs) {
  std::unique_lock lock(mu_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), done);
}

bool Rfc2217TestServer::AwaitReceived(std::size_t bytes, int timeoutMs) {
  return Await([&] { return received_.size() >= bytes; }, timeoutMs);
}

bool Rfc2217TestServer::AwaitCommands(std::size_t count, int timeoutMs) {
  return Await([&] { return commands_.size() >= count; }, timeoutMs);
}

bool Rfc2217TestServer::AwaitConnections(int count, int timeoutMs) {
  return Await([&] { return connections_ >= count; }, timeoutMs);
}

bool Rfc2217TestServer::AwaitReceivedMatching(
    const std::function<bool(const std::vector<uint8_t>&)>& match, int timeoutMs) {
  return Await([&] { return match(received_); }, timeoutMs);
}

void Rfc2217TestServer::Inject(std::vector<uint8_t> raw) {
  {
    std::lock_guard lock(mu_);
    injected_.insert(injected_.end(), raw.begin(), raw.end());
  }
  Wake();
}

void Rfc2217TestServer::Drop() {
  {
    std::lock_guard lock(mu_);
    dropRequested_ = true;
  }
  Wake();
}

void Rfc2217TestServer::StopAnsweringPurges() {
  std::lock_guard lock(mu_);
  options_.answerPurge = false;
}

void Rfc2217TestServer::Wake() {
  const uint8_t b = 1;
  if (wakePipe_[1] < 0) return;
  const ssize_t r = ::write(wakePipe_[1], &b, 1);
  (void)r;  // a full pipe already wakes the thread
}

void Rfc2217TestServer::CloseClient() {
  if (clientFd_ >= 0) ::close(clientFd_);
  clientFd_ = -1;
}

int64_t Rfc2217TestServer::NextWakeUs() {
  if (clientFd_ < 0) return line_.NowUs() + kIdleWakeUs;
  return line_.NextWakeUs(kIdleWakeUs);
}

void Rfc2217TestServer::Run() {
  while (!stop_) {
    pollfd p[2] = {{clientFd_ >= 0 ? clientFd_ : listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    int64_t wakeUs;
    {
      std::lock_guard lock(mu_);
      wakeUs = NextWakeUs();
    }
    const int64_t us = std::max<int64_t>(0, wakeUs - line_.NowUs());
    const timespec ts{static_cast<time_t>(us / 1'000'000),
                      static_cast<long>(us % 1'000'000) * 1000};
    ::ppoll(p, 2, &ts, nullptr);
    uint8_t drain[64];
    while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
    }
    std::lock_guard lock(mu_);
    if (clientFd_ < 0) {
      if (p[0].revents & POLLIN) Accept();
    } else {
      ServeClient();
    }
    changed_.notify_all();
  }
}

void Rfc2217TestServer::Accept() {
  clientFd_ = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (clientFd_ < 0) return;
  const int one = 1;
  ::setsockopt(clientFd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  // A client that stops reading must not hold the server (and the test) for ever.
  const timeval sendLimit{1, 0};
  ::setsockopt(clientFd_, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
  ++connections_;
  parse_ = Parse::Data;
  line_.Purge();
  if (!options_.greeting.empty()) SendRaw(options_.greeting);
}

void Rfc2217TestServer::ServeClient() {
  if (dropRequested_) {
    dropRequested_ = false;
    CloseClient();
    return;
  }
  if (!injected_.empty()) {
    SendRaw(injected_);
    injected_.clear();
  }
  uint8_t buf[4096];
  const ssize_t n = ::recv(clientFd_, buf, sizeof buf, MSG_DONTWAIT);
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
    CloseClient();
    return;
  }
  if (n > 0) TakeFromClient(buf, static_cast<std::size_t>(n));
  ForwardDueBytes();
}

// Line data goes to the line in runs, each under the settings in force.
void Rfc2217TestServer::TakeFromClient(const uint8_t* bytes, std::size_t n) {
  received_.insert(received_.end(), bytes, bytes + n);
  std::vector<uint8_t> data;
  for (std::size_t i = 0; i < n; ++i) TakeByte(bytes[i], data);
  if (!data.empty()) line_.Write(data.data(), data.size());
}

void Rfc2217TestServer::TakeByte(uint8_t b, std::vector<uint8_t>& data) {
  switch (parse_) {
    case Parse::Data:
      if (b == IAC)
        parse_ = Parse::Iac;
      else
        data.push_back(b);
      return;
    case Parse::Iac:
      parse_ = Parse::Data;
      if (b == IAC)
        data.push_back(IAC);
      else if (b == SB)
        sub_.clear(), parse_ = Parse::Sub;
      else if (b >= WILL)
        verb_ = b, parse_ = Parse::Verb;
      return;
    case Parse::Verb:
      parse_ = Parse::Data;
      AnswerVerb(verb_, b);
      return;
    case Parse::Sub:
      if (b == IAC)
        parse_ = Parse::SubIac;
      else if (sub_.size() < kMaxSub)
        sub_.push_back(b);
      return;
    case Parse::SubIac:
      parse_ = b == SE ? Parse::Data : Parse::Sub;
      if (b == IAC && sub_.size() < kMaxSub) sub_.push_back(IAC);
      if (b != SE) return;
      if (!data.empty()) line_.Write(data.data(), data.size());
      data.clear();
      ApplyCommand(sub_);
      return;
  }
}

void Rfc2217TestServer::AnswerVerb(uint8_t verb, uint8_t option) {
  if (verb == WILL && option == kComPort)
    SendRaw({IAC, options_.offerComPort ? DO : DONT, kComPort});
  else if (verb == WILL)
    SendRaw({IAC, option == kBinary && options_.binary ? DO : DONT, option});
  else if (verb == DO)
    SendRaw({IAC, option == kBinary && options_.binary ? WILL : WONT, option});
}

void Rfc2217TestServer::ApplyCommand(const std::vector<uint8_t>& sub) {
  if (sub.size() < 2 || sub[0] != kComPort) return;
  Command c{sub[1], std::vector<uint8_t>(sub.begin() + 2, sub.end()), line_.Sent().size(),
            line_.NowUs()};
  const auto& v = c.value;
  if (c.code == 1 && v.size() == 4)
    settings_.baud = (uint32_t{v[0]} << 24) | (uint32_t{v[1]} << 16) | (uint32_t{v[2]} << 8) | v[3];
  if (c.code == 2 && v.size() == 1) settings_.dataBits = v[0];
  if (c.code == 3 && v.size() == 1) settings_.parity = ParityFromValue(v[0]);
  if (c.code == 4 && v.size() == 1) settings_.stopBits = v[0];
  if (c.code == 5 && v.size() == 1 && (v[0] == 8 || v[0] == 9)) dtr_ = v[0] == 8;
  if (c.code == kPurgeData) line_.Purge();
  // Applied at once, without draining, as a serial server does.
  line_.Apply(settings_);
  if (c.code == kPurgeData) SendRaw(options_.staleBeforePurgeAnswer);
  if (c.code != kPurgeData || options_.answerPurge) {
    std::vector<uint8_t> answer = {IAC, SB, kComPort, static_cast<uint8_t>(c.code + 100)};
    std::vector<uint8_t> value = v;
    if (c.code == 1 && options_.answerBaud &&
        (options_.answerBaudFor == 0 || options_.answerBaudFor == settings_.baud))
      value = {static_cast<uint8_t>(options_.answerBaud >> 24),
               static_cast<uint8_t>(options_.answerBaud >> 16),
               static_cast<uint8_t>(options_.answerBaud >> 8),
               static_cast<uint8_t>(options_.answerBaud)};
    for (uint8_t b : value) {
      answer.push_back(b);
      if (b == IAC) answer.push_back(IAC);
    }
    answer.insert(answer.end(), {IAC, SE});
    SendRaw(answer);
  }
  commands_.push_back(std::move(c));
}

void Rfc2217TestServer::ForwardDueBytes() {
  std::vector<uint8_t> out;
  for (uint8_t b : line_.TakeDue()) {
    out.push_back(b);
    if (b == IAC) out.push_back(IAC);
  }
  if (!out.empty()) SendRaw(out);
}

void Rfc2217TestServer::SendRaw(const std::vector<uint8_t>& bytes) {
  std::size_t done = 0;
  while (clientFd_ >= 0 && done < bytes.size()) {
    const ssize_t w = ::send(clientFd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (w <= 0) {
      if (w < 0 && errno == EINTR) continue;
      CloseClient();
      return;
    }
    done += static_cast<std::size_t>(w);
  }
}

}  // namespace zel::testing
