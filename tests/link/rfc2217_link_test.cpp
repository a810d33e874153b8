// Whole link exchanges through the RFC 2217 backend and our test server:
// the device behind the server sees each byte with the parity it was sent
// with, because every parity change crosses the stream as a command.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "link/link.h"
#include "link/port_setup.h"
#include "link/rfc2217_port.h"
#include "rfc2217_test_server.h"
#include "support/lambda_device.h"
#include "support/scripted_prompts.h"

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::LambdaDevice;
using testing::Rfc2217TestServer;
using testing::ScriptedPrompts;

// Echoes a mark-parity byte equal to `address` and acknowledges each body
// with its checksum, then sends `reply`.
LambdaDevice::Answer AddressedDevice(uint8_t address, Bytes reply = {}) {
  auto body = std::make_shared<Bytes>();
  return [address, body, reply](uint8_t b, Parity p) -> Bytes {
    if (p == Parity::Mark) {
      body->clear();
      return b == address ? Bytes{b} : Bytes{};
    }
    body->push_back(b);
    if (body->size() != static_cast<std::size_t>((*body)[0]) + 2) return {};
    Bytes out{b};
    out.insert(out.end(), reply.begin(), reply.end());
    return out;
  };
}

class LinkOverRfc2217 : public ::testing::Test {
 protected:
  void Start(LambdaDevice::Answer answer, uint32_t baud = 19200) {
    server.Attach(std::make_shared<LambdaDevice>(std::move(answer), 300));
    port = std::make_shared<Rfc2217Port>(server.Path());
    ASSERT_TRUE(port->IsOpen()) << port->LastProblem();
    link.SetPort(port);
    link.Settings().baud = baud;
    link.ApplySettings();
  }
  Bytes LineValues() {
    Bytes out;
    for (const auto& b : server.LineBytes()) out.push_back(b.value);
    return out;
  }
  std::vector<Parity> LineParity() {
    std::vector<Parity> out;
    for (const auto& b : server.LineBytes()) out.push_back(b.parity);
    return out;
  }

  Rfc2217TestServer server;
  std::shared_ptr<Rfc2217Port> port;
  Link link;
};

TEST_F(LinkOverRfc2217, AddressedCommandCarriesAddressInMarkAndBodyInSpace) {
  Start(AddressedDevice(0x12));
  link.Addresses().zhrmAddress = 0x0012;
  EXPECT_TRUE(link.SendAddressedCommand(3, 0x0102));
  EXPECT_EQ(LineValues(), (Bytes{0x12, 0x03, 0x03, 0x02, 0x01, 0xF6}));
  EXPECT_EQ(LineParity(), (std::vector<Parity>{Parity::Mark, Parity::Space, Parity::Space,
                                               Parity::Space, Parity::Space, Parity::Space}));
  EXPECT_EQ(server.Settings().parity, Parity::Space);
}

TEST_F(LinkOverRfc2217, ParityCommandsSitBetweenAddressAndBody) {
  Start(AddressedDevice(0x12));
  link.Addresses().zhrmAddress = 0x0012;
  ASSERT_TRUE(link.SendAddressedCommand(3, 0));
  std::vector<std::pair<uint8_t, std::size_t>> parity;  // value, line bytes before
  for (const auto& c : server.Commands())
    if (c.code == 3 && c.value.size() == 1) parity.push_back({c.value[0], c.lineBytesBefore});
  ASSERT_GE(parity.size(), 3u);
  const std::size_t n = parity.size();
  EXPECT_EQ(parity[n - 2], (std::pair<uint8_t, std::size_t>{0x04, 0}));  // mark, then address
  EXPECT_EQ(parity[n - 1], (std::pair<uint8_t, std::size_t>{0x05, 1}));  // space after its echo
}

TEST_F(LinkOverRfc2217, ReadsADataReplyWithIacBytes) {
  Bytes reply(33);
  for (std::size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<uint8_t>(0xF0 + i % 16);
  Start(AddressedDevice(0x34, reply), 115200);
  link.Addresses().zhrmAddress = 0x1234;
  ASSERT_TRUE(link.SendAddressedCommand(3, 7));
  std::size_t got = 0;
  EXPECT_TRUE(link.ReadWithTimeout(link.Buffers().main, 33, 100, &got));
  EXPECT_EQ(Bytes(link.Buffers().main.begin(), link.Buffers().main.begin() + 33), reply);
}

TEST_F(LinkOverRfc2217, WritesARecordWithIacBytesInTheBody) {
  Start(AddressedDevice(0x12));
  link.Addresses().zhrmAddress = 0x0012;
  const Bytes data = {0xFF, 0x00, 0xFF};
  // Body: length 6, command 5, record 0x00FF low first, data, checksum.
  EXPECT_TRUE(link.SendAddressedCommand(5, 0x00FF, data));
  EXPECT_EQ(LineValues(), (Bytes{0x12, 0x06, 0x05, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xF7}));
}

TEST_F(LinkOverRfc2217, SelectDeviceComparesTheEcho) {
  // Echoes its own address 0x23; answers any other with a wrong byte.
  Start([](uint8_t b, Parity p) {
    if (p != Parity::Mark) return Bytes{};
    return b == 0x23 ? Bytes{b} : Bytes{0x99};
  });
  EXPECT_TRUE(link.SelectDevice(0x23, 200, EchoRule::Compare));
  EXPECT_FALSE(link.SelectDevice(0x24, 200, EchoRule::Compare));
  EXPECT_EQ(link.Settings().parity, Parity::Space);
}

TEST_F(LinkOverRfc2217, PrefixedCommandAt10416LeavesParityAlone) {
  Start([](uint8_t b, Parity) { return b == 0xF4 ? Bytes{0xF4} : Bytes{}; }, 10416);
  link.Addresses().zhrmAddress = 0x0102;
  EXPECT_TRUE(link.SendPrefixedCommand(3, 8, 0));
  EXPECT_EQ(LineValues(), (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x03, 0x08, 0x00, 0x00, 0x00, 0xF4}));
  for (Parity p : LineParity()) EXPECT_EQ(p, Parity::None);
  EXPECT_EQ(server.Settings().baud, 10416u);
}

TEST_F(LinkOverRfc2217, AReplyInTwoPiecesIsReadAsOne) {
  Start([](uint8_t, Parity) { return Bytes{}; }, 10416);
  // The server forwards what it has; the network adds its own pauses.
  std::thread server_side([this] {
    server.Inject({0x01, 0x02, 0x03});
    std::this_thread::sleep_for(std::chrono::milliseconds(6));
    server.Inject({0x04, 0x05, 0x06});
  });
  std::array<uint8_t, 16> dst{};
  const std::size_t got = link.PortRead(dst);
  server_side.join();
  EXPECT_EQ(got, 6u);
  EXPECT_EQ(Bytes(dst.begin(), dst.begin() + 6), (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST_F(LinkOverRfc2217, SilentDeviceTimesOutAsOnALocalPort) {
  Start([](uint8_t, Parity) { return Bytes{}; });
  SteadyClock clock;
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(link.WaitForBytes(1, 100));
  const int64_t tookUs = clock.NowUs() - start;
  EXPECT_GT(tookUs, 100'000);
  EXPECT_LT(tookUs, 400'000);
  EXPECT_TRUE(link.PortValid());
}

TEST(PortSetupOverRfc2217, LostServerFailsTheExchangeAndReopenRecovers) {
  Rfc2217TestServer server;
  server.Attach(std::make_shared<LambdaDevice>(AddressedDevice(0x12)));
  Link link;
  PortSetup setup(link, DefaultPortOpener(nullptr));
  setup.comPaths[0] = server.Path();
  setup.OpenAtStartup();
  ASSERT_TRUE(link.PortValid());
  link.Addresses().zhrmAddress = 0x0012;
  EXPECT_TRUE(link.SendAddressedCommand(3, 0));

  server.Drop();
  SteadyClock clock;
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(link.SendAddressedCommand(3, 0));
  EXPECT_LT(clock.NowUs() - start, 600'000);
  EXPECT_FALSE(link.PortValid());
  // Closed, or reset when our bytes met the closed socket: either way, said.
  EXPECT_NE(setup.PortProblem().find(server.Path() + ": connection "), std::string::npos)
      << setup.PortProblem();

  ScriptedPrompts prompts;
  EXPECT_TRUE(setup.set_p(prompts));
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Порт проинициализирован !"});
  EXPECT_TRUE(link.SendAddressedCommand(3, 0));
  EXPECT_EQ(server.Connections(), 2);
}

// A server that sets 14400 when asked for 10416, as some USB chips do: the
// user hears of it once per port open or line-profile change.
TEST(PortSetupOverRfc2217, SpeedTheServerCannotHoldIsShownOncePerOpenOrProfileChange) {
  Rfc2217TestServer::Options options;
  options.answerBaud = 14400;
  options.answerBaudFor = 10416;
  Rfc2217TestServer server(options);
  Link link;
  PortSetup setup(link, DefaultPortOpener(nullptr));
  setup.comPaths[0] = server.Path();
  std::vector<std::string> shown;
  setup.showLineProblem = [&shown](const std::string& text) { shown.push_back(text); };
  const std::string problem =
      server.Path() + ": сервер не поддерживает скорость 10416 бод (установлено 14400)";
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"open at 9600", [&] { setup.OpenAtStartup(); }},
      {"ЖРМ 1.5", [&] { setup.ApplyLineProfile(LineFamily::Zhrm15); }},
      {"ЖРМ 1.5 again", [&] { setup.ApplyLineProfile(LineFamily::Zhrm15); }},
      {"before an operation", [&] { setup.ReportLineProblem(); }},
      {"ЖРМ 2.0", [&] { setup.ApplyLineProfile(LineFamily::Zhrm20); }},
      {"back to ЖРМ 1.5", [&] { setup.ApplyLineProfile(LineFamily::Zhrm15); }},
      {"closed and re-opened",
       [&] {
         setup.ResetPort();
         setup.ReopenWithProfile();
       }},
  };
  const std::size_t expected[] = {0, 1, 1, 1, 1, 2, 3};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].second();
    ASSERT_TRUE(link.PortValid()) << steps[i].first;
    EXPECT_EQ(shown.size(), expected[i]) << steps[i].first;
  }
  EXPECT_EQ(shown, std::vector<std::string>(3, problem));
}

}  // namespace
}  // namespace zel
