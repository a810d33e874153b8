// The RFC 2217 backend against our test server on 127.0.0.1: the bytes it
// puts on the wire, escaping both ways, and every way a server can fail it.
// Expected bytes are typed from RFC 854 and RFC 2217.
#include "link/rfc2217_port.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "rfc2217_test_server.h"
#include "support/lambda_device.h"

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::LambdaDevice;
using testing::Rfc2217TestServer;

constexpr int kAwaitMs = 2000;

// WILL COM-PORT-OPTION, WILL BINARY, DO BINARY, then the line-state and
// modem-state masks set to 0 and a purge of both buffers.
const Bytes kOpening = {0xFF, 0xFB, 0x2C, 0xFF, 0xFB, 0x00, 0xFF, 0xFD, 0x00, 0xFF,
                        0xFA, 0x2C, 0x0A, 0x00, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x0B,
                        0x00, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x0C, 0x03, 0xFF, 0xF0};

bool Contains(const Bytes& hay, const Bytes& needle) {
  return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

// Echoes every byte it receives.
std::shared_ptr<LambdaDevice> EchoDevice() {
  return std::make_shared<LambdaDevice>([](uint8_t b, Parity) { return Bytes{b}; });
}

class Rfc2217PortTest : public ::testing::Test {
 protected:
  void Open(Rfc2217TestServer::Options options = {}) {
    server = std::make_unique<Rfc2217TestServer>(std::move(options));
    ASSERT_FALSE(server->Path().empty());
    port = std::make_unique<Rfc2217Port>(server->Path());
    ASSERT_TRUE(port->IsOpen()) << port->LastProblem();
    sent = server->Received().size();
  }
  // What the client sent since the last call, once `bytes` of it arrived.
  Bytes NextReceived(std::size_t bytes) {
    EXPECT_TRUE(server->AwaitReceived(sent + bytes, kAwaitMs));
    const Bytes all = server->Received();
    const Bytes out(all.begin() + static_cast<std::ptrdiff_t>(sent), all.end());
    sent = all.size();
    return out;
  }
  Bytes ReadAll() {
    Bytes out(port->BytesWaiting());
    out.resize(port->Read(out.data(), out.size()));
    return out;
  }
  int64_t InUs(int ms) { return port->GetClock().NowUs() + int64_t{ms} * 1000; }

  std::unique_ptr<Rfc2217TestServer> server;
  std::unique_ptr<Rfc2217Port> port;
  std::size_t sent = 0;
};

TEST_F(Rfc2217PortTest, OpeningNegotiatesComPortAndBinary) {
  Open();
  EXPECT_EQ(server->Received(), kOpening);
  EXPECT_EQ(server->Connections(), 1);
}

TEST_F(Rfc2217PortTest, FirstSettingsSendEveryField) {
  Open();
  LineSettings s;
  s.baud = 10416;
  ASSERT_TRUE(port->Apply(s, false));
  EXPECT_EQ(NextReceived(45), (Bytes{
                                  0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0x28, 0xB0, 0xFF, 0xF0,  //
                                  0xFF, 0xFA, 0x2C, 0x02, 0x08, 0xFF, 0xF0,  // 8 data bits
                                  0xFF, 0xFA, 0x2C, 0x03, 0x01, 0xFF, 0xF0,  // parity none
                                  0xFF, 0xFA, 0x2C, 0x04, 0x01, 0xFF, 0xF0,  // 1 stop bit
                                  0xFF, 0xFA, 0x2C, 0x05, 0x01, 0xFF, 0xF0,  // no flow control
                                  0xFF, 0xFA, 0x2C, 0x05, 0x0B, 0xFF, 0xF0,  // RTS on
                              }));
  EXPECT_EQ(server->Settings().baud, 10416u);
  EXPECT_EQ(port->Current(), s);
}

struct ChangeCase {
  const char* name;
  void (*change)(LineSettings&);
  Bytes wire;
};

TEST_F(Rfc2217PortTest, LaterSettingsSendOnlyWhatChanged) {
  const ChangeCase cases[] = {
      {"mark",
       [](LineSettings& s) { s.parity = Parity::Mark; },
       {0xFF, 0xFA, 0x2C, 0x03, 0x04, 0xFF, 0xF0}},
      {"space",
       [](LineSettings& s) { s.parity = Parity::Space; },
       {0xFF, 0xFA, 0x2C, 0x03, 0x05, 0xFF, 0xF0}},
      {"115200",
       [](LineSettings& s) { s.baud = 115200; },
       {0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x01, 0xC2, 0x00, 0xFF, 0xF0}},
      {"7 data bits",
       [](LineSettings& s) { s.dataBits = 7; },
       {0xFF, 0xFA, 0x2C, 0x02, 0x07, 0xFF, 0xF0}},
      {"2 stop bits",
       [](LineSettings& s) { s.stopBits = 2; },
       {0xFF, 0xFA, 0x2C, 0x04, 0x02, 0xFF, 0xF0}},
      {"RTS off",
       [](LineSettings& s) { s.flags = kFlagsBinaryOnly; },
       {0xFF, 0xFA, 0x2C, 0x05, 0x0C, 0xFF, 0xF0}},
  };
  Open();
  LineSettings s;
  ASSERT_TRUE(port->Apply(s, false));
  NextReceived(45);
  for (const auto& c : cases) {
    c.change(s);
    ASSERT_TRUE(port->Apply(s, false)) << c.name;
    EXPECT_EQ(NextReceived(c.wire.size()), c.wire) << c.name;
  }
  EXPECT_EQ(server->Settings().parity, Parity::Space);
}

TEST_F(Rfc2217PortTest, DtrAndPurgeCommands) {
  Open();
  port->SetDtr(true);
  EXPECT_EQ(NextReceived(7), (Bytes{0xFF, 0xFA, 0x2C, 0x05, 0x08, 0xFF, 0xF0}));
  EXPECT_TRUE(server->Dtr());
  port->SetDtr(false);
  EXPECT_EQ(NextReceived(7), (Bytes{0xFF, 0xFA, 0x2C, 0x05, 0x09, 0xFF, 0xF0}));
  EXPECT_FALSE(server->Dtr());
  port->Purge();
  EXPECT_EQ(NextReceived(7), (Bytes{0xFF, 0xFA, 0x2C, 0x0C, 0x03, 0xFF, 0xF0}));
}

TEST_F(Rfc2217PortTest, IacInOutgoingDataIsDoubled) {
  Open();
  const Bytes data = {0x12, 0xFF, 0x0D, 0x00, 0xFF};
  EXPECT_EQ(port->Write(data.data(), data.size(), 100), data.size());
  EXPECT_EQ(NextReceived(7), (Bytes{0x12, 0xFF, 0xFF, 0x0D, 0x00, 0xFF, 0xFF}));
  Bytes onLine;
  for (const auto& b : server->LineBytes()) onLine.push_back(b.value);
  EXPECT_EQ(onLine, data);
}

TEST_F(Rfc2217PortTest, IacInIncomingDataIsOneByte) {
  Open();
  server->Attach(std::make_shared<LambdaDevice>([](uint8_t, Parity) {
    return Bytes{0xFF, 0x01, 0xFF, 0xFF};
  }));
  const uint8_t ask = 0x5A;
  port->Write(&ask, 1, 100);
  ASSERT_TRUE(port->WaitForBytes(4, InUs(kAwaitMs)));
  EXPECT_EQ(ReadAll(), (Bytes{0xFF, 0x01, 0xFF, 0xFF}));
}

TEST_F(Rfc2217PortTest, IacSplitAcrossSegmentsStillOneByte) {
  Open();
  server->Inject({0xFF});
  ASSERT_FALSE(port->WaitForBytes(1, InUs(50)));
  server->Inject({0xFF, 0x42});
  ASSERT_TRUE(port->WaitForBytes(2, InUs(kAwaitMs)));
  EXPECT_EQ(ReadAll(), (Bytes{0xFF, 0x42}));
}

TEST_F(Rfc2217PortTest, ServerWithoutBinaryGetsCrNulBothWays) {
  Rfc2217TestServer::Options options;
  options.binary = false;
  Open(options);
  const Bytes data = {0x0D, 0x41};
  port->Write(data.data(), data.size(), 100);
  EXPECT_EQ(NextReceived(3), (Bytes{0x0D, 0x00, 0x41}));
  server->Inject({0x0D, 0x00, 0x42});
  ASSERT_TRUE(port->WaitForBytes(2, InUs(kAwaitMs)));
  EXPECT_EQ(ReadAll(), (Bytes{0x0D, 0x42}));
}

TEST_F(Rfc2217PortTest, UnsupportedOptionsAreRefusedOnce) {
  Rfc2217TestServer::Options options;
  // DO TERMINAL-TYPE, WILL ECHO, WILL SUPPRESS-GO-AHEAD.
  options.greeting = {0xFF, 0xFD, 0x18, 0xFF, 0xFB, 0x01, 0xFF, 0xFB, 0x03};
  Open(options);
  const auto answered = [](const Bytes& r) {
    return Contains(r, {0xFF, 0xFC, 0x18}) && Contains(r, {0xFF, 0xFE, 0x01}) &&
           Contains(r, {0xFF, 0xFD, 0x03});
  };
  EXPECT_TRUE(server->AwaitReceivedMatching(answered, kAwaitMs));
  // The server answers our DO SUPPRESS-GO-AHEAD with WONT; we agree with one
  // DONT and the conversation ends there.
  const auto donts = [](const Bytes& r) { return std::count(r.begin(), r.end(), 0xFE); };
  ASSERT_FALSE(port->WaitForBytes(1, InUs(30)));
  EXPECT_TRUE(
      server->AwaitReceivedMatching([&](const Bytes& r) { return donts(r) >= 2; }, kAwaitMs));
  ASSERT_FALSE(port->WaitForBytes(1, InUs(30)));
  EXPECT_EQ(donts(server->Received()), 2);  // DONT ECHO, DONT SUPPRESS-GO-AHEAD
  EXPECT_TRUE(port->IsOpen());
}

TEST_F(Rfc2217PortTest, GarbageFromServerNeitherHangsNorCloses) {
  Open();
  Bytes junk = {0xFF, 0xFA, 0x2C, 0x6A};  // NOTIFY-LINESTATE that never ends
  junk.insert(junk.end(), 5000, 0x00);
  junk.insert(junk.end(), {0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0xFF, 0x31});  // IAC + junk inside SB
  junk.insert(junk.end(), {0xFF, 0xFA, 0x2C, 0x70, 0x03, 0xFF, 0xF0});  // purge answer, unasked
  junk.insert(junk.end(), {0xFF, 0xFB, 0x2C, 0x44});  // WILL COM-PORT-OPTION from the server
  server->Inject(junk);
  ASSERT_TRUE(port->WaitForBytes(1, InUs(kAwaitMs)));
  EXPECT_EQ(ReadAll(), (Bytes{0x44}));
  EXPECT_TRUE(port->IsOpen());
}

TEST_F(Rfc2217PortTest, BytesUnderWayBeforeAPurgeAreDiscarded) {
  Rfc2217TestServer::Options options;
  options.staleBeforePurgeAnswer = {0x77};
  Open(options);
  server->Attach(EchoDevice());
  port->Purge();
  const uint8_t address = 0x12;
  port->Write(&address, 1, 100);
  ASSERT_TRUE(port->WaitForBytes(1, InUs(kAwaitMs)));
  EXPECT_EQ(ReadAll(), (Bytes{0x12}));
}

TEST_F(Rfc2217PortTest, ServerThatNeverAnswersPurgesStillWorks) {
  Rfc2217TestServer::Options options;
  options.answerPurge = false;
  Open(options);
  server->Attach(EchoDevice());
  for (int i = 0; i < 12; ++i) {
    port->Purge();
    const uint8_t b = static_cast<uint8_t>(0x30 + i);
    port->Write(&b, 1, 100);
    ASSERT_TRUE(port->WaitForBytes(1, InUs(kAwaitMs))) << i;
    EXPECT_EQ(ReadAll(), (Bytes{b}));
  }
}

TEST_F(Rfc2217PortTest, ServerThatStopsAnsweringPurgesIsNoLongerWaitedFor) {
  Open();
  server->Attach(EchoDevice());
  server->StopAnsweringPurges();
  // Until the ninth unanswered purge every answer counts as under way
  // before a purge; from then on answers are taken again.
  std::vector<int> echoed;
  for (int i = 0; i < 10; ++i) {
    port->Purge();
    const uint8_t b = static_cast<uint8_t>(0x40 + i);
    port->Write(&b, 1, 100);
    if (port->WaitForBytes(1, InUs(20)) && ReadAll() == Bytes{b}) echoed.push_back(i);
  }
  EXPECT_EQ(echoed, (std::vector<int>{8, 9}));
  EXPECT_NE(port->LastProblem().find("stopped answering purges"), std::string::npos);
}

TEST_F(Rfc2217PortTest, DrainWaitsForWrittenBytesBeforeTheParityChange) {
  Open();
  LineSettings s;  // 9600 baud, no parity: 1042 us a byte
  ASSERT_TRUE(port->Apply(s, false));
  const Bytes data(10, 0x55);
  const int64_t start = port->GetClock().NowUs();
  port->Write(data.data(), data.size(), 100);
  s.parity = Parity::Mark;
  ASSERT_TRUE(port->Apply(s, true));
  EXPECT_GE(port->GetClock().NowUs() - start, 10 * 1042);
  ASSERT_TRUE(server->AwaitCommands(10, kAwaitMs));  // 3 at open, 6 settings, the parity
  const auto commands = server->Commands();
  const auto& parity = commands.back();
  EXPECT_EQ(parity.code, 3);
  // After every byte of the write: the server's own clock would only add
  // the scheduler's latency on both sides to what the client measured above.
  EXPECT_EQ(parity.lineBytesBefore, 10u);
}

TEST_F(Rfc2217PortTest, SpeedTheServerCannotHoldIsReported) {
  Rfc2217TestServer::Options options;
  options.answerBaud = 14400;
  Open(options);
  LineSettings s;
  s.baud = 10416;
  port->Apply(s, false);
  for (int i = 0; i < 40 && port->LastProblem().empty(); ++i) port->WaitForBytes(1, InUs(50));
  EXPECT_NE(port->LastProblem().find("10416"), std::string::npos) << port->LastProblem();
  EXPECT_NE(port->LastProblem().find("14400"), std::string::npos) << port->LastProblem();
  EXPECT_TRUE(port->IsOpen());
}

// Answers come in the order asked, and may arrive after the next change went
// out: each is held against its own request, not the newest settings.
TEST_F(Rfc2217PortTest, AnswersTrailingTheNextChangeAreNoProblem) {
  Open();
  LineSettings s;
  port->Apply(s, false);  // every field: 6 commands
  s.baud = 10416;
  s.parity = Parity::Mark;
  port->Apply(s, false);
  s.parity = Parity::Space;
  port->Apply(s, false);
  ASSERT_TRUE(server->AwaitCommands(3 + 6 + 2 + 1, kAwaitMs));
  port->WaitForBytes(1, InUs(50));
  EXPECT_EQ(port->LastProblem(), "");
}

// ser2net answers each request with the value in force by then, so two
// quick changes both come back with the second value.
TEST_F(Rfc2217PortTest, AnswerCarryingALaterRequestsValueIsNoProblem) {
  Rfc2217TestServer::Options options;
  options.answerBaud = 10416;
  Open(options);
  LineSettings s;
  port->Apply(s, false);
  s.baud = 10416;
  port->Apply(s, false);
  ASSERT_TRUE(server->AwaitCommands(3 + 6 + 1, kAwaitMs));
  port->WaitForBytes(1, InUs(50));
  EXPECT_EQ(port->LastProblem(), "");
}

TEST_F(Rfc2217PortTest, LostConnectionClosesThePortAndFailsTheWaitAtOnce) {
  Open();
  server->Drop();
  const int64_t start = port->GetClock().NowUs();
  EXPECT_FALSE(port->WaitForBytes(1, InUs(5000)));
  EXPECT_LT(port->GetClock().NowUs() - start, 1'000'000);
  EXPECT_FALSE(port->IsOpen());
  EXPECT_NE(port->LastProblem().find("connection closed"), std::string::npos);
  const uint8_t b = 0x12;
  EXPECT_EQ(port->Write(&b, 1, 100), 0u);
  EXPECT_FALSE(port->Apply(LineSettings{}, true));
  EXPECT_EQ(port->BytesWaiting(), 0u);

  // The same server takes the next connection.
  Rfc2217Port again(server->Path());
  EXPECT_TRUE(again.IsOpen()) << again.LastProblem();
  EXPECT_EQ(server->Connections(), 2);
}

TEST_F(Rfc2217PortTest, ServerRefusingComPortControlIsNotAPort) {
  Rfc2217TestServer::Options options;
  options.offerComPort = false;
  Rfc2217TestServer refusing(options);
  Rfc2217Port p(refusing.Path());
  EXPECT_FALSE(p.IsOpen());
  EXPECT_NE(p.LastProblem().find("RFC 2217"), std::string::npos) << p.LastProblem();
}

TEST(Rfc2217Port, NobodyListeningIsReportedWithTheOsError) {
  // A port that was just free: bind, learn the number, close.
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
  close(fd);
  Rfc2217Port p("rfc2217://127.0.0.1:" + std::to_string(ntohs(a.sin_port)));
  EXPECT_FALSE(p.IsOpen());
  EXPECT_NE(p.LastProblem().find("refused"), std::string::npos) << p.LastProblem();
}

TEST(Rfc2217Port, SilentServerTimesOutTheNegotiation) {
  // Listening but never answering: the kernel completes the connection.
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(listen(fd, 1), 0);
  ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
  Rfc2217Timeouts t;
  t.negotiateMs = 150;
  SteadyClock clock;
  const int64_t start = clock.NowUs();
  Rfc2217Port p("rfc2217://127.0.0.1:" + std::to_string(ntohs(a.sin_port)), t);
  EXPECT_FALSE(p.IsOpen());
  EXPECT_LT(clock.NowUs() - start, 1'000'000);
  EXPECT_NE(p.LastProblem().find("RFC 2217"), std::string::npos) << p.LastProblem();
  close(fd);
}

struct PathCase {
  const char* path;
  bool ok;
  const char* host;
  uint16_t port;
};

TEST(Rfc2217Path, ParsesHostAndPort) {
  const PathCase cases[] = {
      {"rfc2217://127.0.0.1:7000", true, "127.0.0.1", 7000},
      {"rfc2217://serial-server.local:2001", true, "serial-server.local", 2001},
      {"rfc2217://[::1]:65535", true, "::1", 65535},
      {"rfc2217://host:0", false, "", 0},
      {"rfc2217://host:65536", false, "", 0},
      {"rfc2217://host:", false, "", 0},
      {"rfc2217://host", false, "", 0},
      {"rfc2217://:7000", false, "", 0},
      {"rfc2217://host:70a0", false, "", 0},
      {"rfc2217://::1:7000", false, "", 0},
      {"rfc2217://[::1]7000", false, "", 0},
      {"rfc2217://a b:7000", false, "", 0},
      {"/dev/ttyS0", false, "", 0},
      {"RFC2217://host:1", true, "host", 1},
  };
  for (const auto& c : cases) {
    Rfc2217Address a;
    EXPECT_EQ(ParseRfc2217Path(c.path, &a), c.ok) << c.path;
    if (!c.ok) continue;
    EXPECT_EQ(a.host, c.host) << c.path;
    EXPECT_EQ(a.port, c.port) << c.path;
  }
}

TEST(Rfc2217Path, MalformedPathOpensNothing) {
  Rfc2217Port p("rfc2217://nowhere");
  EXPECT_FALSE(p.IsOpen());
  EXPECT_NE(p.LastProblem().find("HOST:PORT"), std::string::npos);
}

}  // namespace
}  // namespace zel
