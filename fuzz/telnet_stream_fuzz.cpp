// What a network serial server sends: the input is the server's whole stream
// (option verbs, sub-negotiations, IAC escapes, answers to speed, parity and
// purge requests, line data), played to a real Rfc2217Port over a loopback
// socket in pieces, and cut where the input ends. The first byte chooses the
// piece size and what the client asks on the way. The telnet parser is also
// checked on its own: data escaped by us comes back unchanged through it.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "link/rfc2217_port.h"
#include "link/telnet.h"

using namespace zel;

namespace {

// One listening socket for the whole run; -1 when it could not be made.
int Listener(uint16_t& port) {
  static uint16_t boundPort = 0;
  static const int fd = [] {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(s, 4) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0)
      return -1;
    boundPort = ntohs(a.sin_port);
    return s;
  }();
  port = boundPort;
  return fd;
}

// Plays `stream` in pieces of `piece` bytes, then closes its sending side and
// swallows what the client sends until the client closes.
void Serve(int listener, std::vector<uint8_t> stream, std::size_t piece) {
  // A client that never connects must not hold the run.
  pollfd ready{listener, POLLIN, 0};
  if (::poll(&ready, 1, 2000) != 1) return;
  const int c = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  if (c < 0) return;
  for (std::size_t at = 0; at < stream.size(); at += piece) {
    const std::size_t n = std::min(piece, stream.size() - at);
    if (::send(c, stream.data() + at, n, MSG_NOSIGNAL) != static_cast<ssize_t>(n)) break;
  }
  ::shutdown(c, SHUT_WR);
  uint8_t sink[4096];
  while (::recv(c, sink, sizeof sink, 0) > 0) {
  }
  ::close(c);
}

void CheckParserRoundTrip(const uint8_t* data, std::size_t size, bool binary) {
  std::vector<uint8_t> wire;
  telnet::AppendEscaped(std::span<const uint8_t>(data, size), !binary, wire);
  telnet::Parser parser;
  parser.SetPeerBinary(binary);
  std::vector<uint8_t> back;
  for (uint8_t b : wire) {
    const telnet::Item item = parser.Feed(b);
    if (item.kind == telnet::ItemKind::Data) back.push_back(item.value);
  }
  if (!std::equal(back.begin(), back.end(), data, data + size) || back.size() != size)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const uint8_t mode = data[0];
  const uint8_t* stream = data + 1;
  const std::size_t n = size - 1;
  CheckParserRoundTrip(stream, n, (mode & 0x80) != 0);

  // The parser alone, fed byte by byte: whatever it says must be in range.
  telnet::Parser parser;
  parser.SetPeerBinary((mode & 0x40) != 0);
  for (std::size_t i = 0; i < n; ++i) {
    if (parser.Feed(stream[i]).kind == telnet::ItemKind::Sub &&
        parser.Sub().size() > telnet::kMaxSubBytes)
      __builtin_trap();
  }

  uint16_t port = 0;
  const int listener = Listener(port);
  if (listener < 0) return 0;
  const std::size_t piece = static_cast<std::size_t>(mode & 0x0F) + 1;
  std::thread server(Serve, listener, std::vector<uint8_t>(stream, stream + n), piece);
  {
    // Short waits: the server closes after its stream, so a run ends on the
    // closed connection, not on a timeout.
    Rfc2217Timeouts t;
    t.connectMs = 1000;
    t.negotiateMs = 50;
    t.purgeProbeMs = 10;
    t.commandMs = 50;
    t.answerMs = 10;
    Rfc2217Port client("rfc2217://127.0.0.1:" + std::to_string(port), t);
    if (client.IsOpen()) {
      LineSettings s;
      s.baud = (mode & 0x10) ? 10416 : 9600;
      s.parity = (mode & 0x20) ? Parity::Mark : Parity::None;
      client.Apply(s, false);
      client.SetDtr(true);
      client.Purge();
      const uint8_t frame[] = {0x01, 0xFF, 0x0D, 0x00};
      client.Write(frame, sizeof frame, 50);
      s.parity = Parity::Space;
      client.Apply(s, true);
      client.WaitForBytes(1, client.GetClock().NowUs() + 5'000);
      uint8_t buf[256];
      while (client.BytesWaiting() > 0 && client.Read(buf, sizeof buf) > 0) {
      }
      (void)client.LineProblem();
      (void)client.Current();
    }
    (void)client.LastProblem();
  }
  server.join();
  return 0;
}
