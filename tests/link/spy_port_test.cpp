// The protocol trace: exact text for known exchanges on the simulated line
// with the virtual clock, and the failure lines of ports that go away.
#include "link/spy_port.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

#include "link/link.h"
#include "link/port_setup.h"
#include "link/rfc2217_port.h"
#include "rfc2217_test_server.h"
#include "sim/simulated_line.h"
#include "support/lambda_device.h"

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::AddressedEcho;
using testing::LambdaDevice;

class SpyPortTest : public ::testing::Test {
 protected:
  SpyPortTest()
      : line(std::make_shared<SimulatedLine>(clock)),
        log(std::make_shared<TraceLog>(out)),
        spy(std::make_shared<SpyPort>(line, log, "sim")) {
    link.SetPort(spy);
  }
  // The trace so far, with the last burst written out by closing the port.
  std::string Closed() {
    link.SetPort(nullptr);
    spy.reset();
    return out.str();
  }

  VirtualClock clock;
  std::ostringstream out;
  std::shared_ptr<SimulatedLine> line;
  std::shared_ptr<TraceLog> log;
  std::shared_ptr<SpyPort> spy;
  Link link;
};

TEST_F(SpyPortTest, AddressedExchangeTrace) {
  link.ApplySettings();
  spy->SetDtr(true);
  link.Addresses().zhrmAddress = 0x0012;
  line->Attach(std::make_shared<LambdaDevice>(AddressedEcho(0x12)));
  ASSERT_TRUE(link.SendAddressedCommand(3, 0x0102));
  // 9600 baud with parity: 1146 us a byte. The echo leaves 500 us after the
  // address byte ends (2.792 ms); the acknowledgement 500 us after the body
  // ends (10.168 ms).
  EXPECT_EQ(Closed(),
            "       0.0 -- open sim\n"
            "       0.0 -- set 9600 baud, 8 data bits, parity none, 1 stop bit, DTR unset\n"
            "       0.0 -- DTR raised\n"
            "       0.0 -- purge\n"
            "       0.0 -- purge\n"
            "       0.0 -- set 9600 baud, 8 data bits, parity mark, 1 stop bit, DTR raised, "
            "after drain\n"
            "       0.0 TX mark  12\n"
            "       2.7 RX mark  12\n"
            "       2.7 -- set 9600 baud, 8 data bits, parity space, 1 stop bit, DTR raised, "
            "after drain\n"
            "       2.7 TX space 03 03 02 01 F6\n"
            "      10.1 RX space F6\n"
            "      10.1 -- close sim\n");
}

TEST_F(SpyPortTest, PrefixedReplyInSeveralReadsIsOneBurst) {
  link.ApplySettings();
  link.Addresses().zhrmAddress = 0x0102;
  line->Attach(std::make_shared<LambdaDevice>([](uint8_t b, Parity) {
    return b == 0xF4 ? Bytes{0xF4, 0x10, 0x20, 0x30} : Bytes{};
  }));
  ASSERT_TRUE(link.SendPrefixedCommand(3, 8, 0));
  std::array<uint8_t, 3> rest{};
  ASSERT_TRUE(link.ReadWithTimeout(rest, 3, 10));
  // 10 bytes of 1042 us end at 10.42 ms; the answer starts 0.5 ms later and
  // its first byte is in at 11.962 ms.
  EXPECT_EQ(Closed(),
            "       0.0 -- open sim\n"
            "       0.0 -- set 9600 baud, 8 data bits, parity none, 1 stop bit, DTR unset\n"
            "       0.0 -- purge\n"
            "       0.0 TX none  F1 01 F2 02 03 08 00 00 00 F4\n"
            "      11.9 RX none  F4 10 20 30\n"
            "      15.0 -- close sim\n");
}

TEST_F(SpyPortTest, SilentDeviceGivesOneTimeOutLine) {
  link.ApplySettings();
  EXPECT_FALSE(link.SelectDevice(0x23, 200, EchoRule::Compare));
  // The 200 ms echo wait and the 23 ms read after it are one silence.
  EXPECT_EQ(Closed(),
            "       0.0 -- open sim\n"
            "       0.0 -- set 9600 baud, 8 data bits, parity none, 1 stop bit, DTR unset\n"
            "       0.0 -- purge\n"
            "       0.0 -- set 9600 baud, 8 data bits, parity mark, 1 stop bit, DTR unset, "
            "after drain\n"
            "       0.0 TX mark  23\n"
            "     223.0 -- time-out: waited 223.0 ms for 1 byte\n"
            "     223.0 -- set 9600 baud, 8 data bits, parity space, 1 stop bit, DTR unset, "
            "after drain\n"
            "     223.0 -- close sim\n");
}

TEST_F(SpyPortTest, UnpluggedLineIsAFailureNotATimeOut) {
  line->SetUnplugged(true);
  EXPECT_FALSE(spy->WaitForBytes(1, clock.NowUs() + 1000));
  EXPECT_FALSE(spy->IsOpen());
  const std::string text = Closed();
  EXPECT_NE(text.find("-- failure: the port has gone\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("time-out"), std::string::npos) << text;
}

TEST(SpyPortOpener, TracedOpenerWrapsEveryPortAndTracesFailedOpens) {
  VirtualClock clock;
  auto line = std::make_shared<SimulatedLine>(clock);
  std::ostringstream out;
  const PortOpener traced = DefaultPortOpener(line, std::make_shared<TraceLog>(out));
  const auto port = traced("sim");
  ASSERT_NE(port, nullptr);
  EXPECT_NE(dynamic_cast<SpyPort*>(port.get()), nullptr);
  EXPECT_EQ(traced("/nonexistent/ttyS9"), nullptr);
  EXPECT_NE(out.str().find("-- open sim\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("-- open /nonexistent/ttyS9 failed: /nonexistent/ttyS9: No such file"),
            std::string::npos)
      << out.str();
  EXPECT_EQ(out.str().find("close /nonexistent"), std::string::npos) << out.str();

  // Untraced, the port is the line itself: nothing sits in between.
  EXPECT_EQ(DefaultPortOpener(line)("sim"), line);
}

TEST(SpyPortOverRfc2217, LostConnectionIsTracedWithItsReason) {
  testing::Rfc2217TestServer server;
  std::ostringstream out;
  auto port = DefaultPortOpener(nullptr, std::make_shared<TraceLog>(out))(server.Path());
  ASSERT_NE(port, nullptr);
  server.Drop();
  EXPECT_FALSE(port->WaitForBytes(1, port->GetClock().NowUs() + 2'000'000));
  EXPECT_NE(out.str().find("-- failure: " + server.Path() + ": connection closed by the server\n"),
            std::string::npos)
      << out.str();
}

TEST(SpyPortOverRfc2217, ProblemReportedByThePortIsAWarning) {
  testing::Rfc2217TestServer::Options options;
  options.answerBaud = 14400;
  testing::Rfc2217TestServer server(options);
  std::ostringstream out;
  auto port = DefaultPortOpener(nullptr, std::make_shared<TraceLog>(out))(server.Path());
  ASSERT_NE(port, nullptr);
  LineSettings s;
  s.baud = 10416;
  port->Apply(s, false);
  for (int i = 0; i < 40 && port->LastProblem().empty(); ++i)
    port->WaitForBytes(1, port->GetClock().NowUs() + 50'000);
  port->Purge();
  EXPECT_NE(out.str().find("-- warning: " + server.Path() +
                           ": сервер не поддерживает скорость 10416 бод (установлено 14400)\n"),
            std::string::npos)
      << out.str();
}

}  // namespace
}  // namespace zel
