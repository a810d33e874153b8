// What ser2net does to the pty when a client sets the line: the speed it
// puts in the slave's termios and the parity the device host reads there.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/rfc2217_port.h"
#include "pty_device_host.h"
#include "ser2net_process.h"

namespace zel::testing {
namespace {

using Arrival = PtyDeviceHost::Arrival;
constexpr int kArrivalMs = 2000;

class Ser2netOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string program = Ser2netProcess::Find();
    if (program.empty()) GTEST_SKIP() << "ser2net is not installed";
    ASSERT_FALSE(host.SlavePath().empty()) << host.Problem();
    ser2net = std::make_unique<Ser2netProcess>(program, host.SlavePath());
    ASSERT_FALSE(ser2net->Path().empty()) << ser2net->Problem();
    port = std::make_unique<Rfc2217Port>(ser2net->Path());
    ASSERT_TRUE(port->IsOpen()) << port->LastProblem();
  }

  // Waits for each byte before the next change: a change overtakes bytes
  // still queued in the pty, as it would on a wire.
  void Send(uint8_t value, uint32_t baud, Parity parity) {
    LineSettings s;
    s.baud = baud;
    s.parity = parity;
    ASSERT_TRUE(port->Apply(s, false));
    ASSERT_EQ(port->Write(&value, 1, 1000), 1u);
    ASSERT_TRUE(host.AwaitArrivals(++sent, kArrivalMs)) << "byte " << sent << " never arrived";
  }

  PtyDeviceHost host;
  std::unique_ptr<Ser2netProcess> ser2net;
  std::unique_ptr<Rfc2217Port> port;
  std::size_t sent = 0;
};

TEST_F(Ser2netOnPty, EachByteArrivesWithTheSpeedAndParityOfItsTime) {
  const std::vector<Arrival> bytes = {
      {0x10, 10416, Parity::None}, {0x11, 10416, Parity::Mark}, {0x12, 10416, Parity::Space},
      {0x13, 10416, Parity::Mark}, {0x14, 19200, Parity::Mark}, {0x15, 19200, Parity::Space},
      {0x16, 9600, Parity::Space}, {0xFF, 9600, Parity::Mark},  {0x17, 115200, Parity::Space},
  };
  for (const Arrival& b : bytes) Send(b.value, b.baud, b.parity);
  EXPECT_EQ(host.Arrivals(), bytes);
  // ser2net answered every speed and parity as asked.
  EXPECT_EQ(port->LastProblem(), "");
}

}  // namespace
}  // namespace zel::testing
