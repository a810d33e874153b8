// The device host reads each byte's speed and parity from the termios a
// program gave the slave, whatever the pty driver dropped from it.
#include "pty_device_host.h"

// termios2 carries any speed; its kernel header clashes with <termios.h>.
#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <vector>

namespace zel::testing {
namespace {

using Arrival = PtyDeviceHost::Arrival;

// Sets the slave as a serial program would and sends one byte.
void SendFromSlave(int fd, uint8_t value, uint32_t baud, unsigned parityBits) {
  termios2 t{};
  ASSERT_EQ(::ioctl(fd, TCGETS2, &t), 0);
  t.c_cflag &= ~(CBAUD | PARENB | PARODD | CMSPAR);
  t.c_cflag |= BOTHER | parityBits;
  t.c_ispeed = t.c_ospeed = baud;
  ASSERT_EQ(::ioctl(fd, TCSETS2, &t), 0);
  ASSERT_EQ(::write(fd, &value, 1), 1);
}

TEST(PtyDeviceHost, EachByteCarriesTheSlavesSpeedAndParity) {
  struct Case {
    uint32_t baud;
    unsigned parityBits;
    Parity parity;
  };
  const Case cases[] = {
      {10416, PARENB | CMSPAR | PARODD, Parity::Mark},
      {10416, PARENB | CMSPAR, Parity::Space},
      {19200, 0, Parity::None},
      {9600, PARENB | CMSPAR | PARODD, Parity::Mark},
  };
  PtyDeviceHost host;
  ASSERT_FALSE(host.SlavePath().empty()) << host.Problem();
  const int fd = ::open(host.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  std::vector<Arrival> expected;
  for (const Case& c : cases) {
    const auto value = static_cast<uint8_t>(0x40 + expected.size());
    SendFromSlave(fd, value, c.baud, c.parityBits);
    expected.push_back({value, c.baud, c.parity});
    // The next change must not overtake this byte in the pty.
    ASSERT_TRUE(host.AwaitArrivals(expected.size(), 2000));
  }
  ::close(fd);
  EXPECT_EQ(host.Arrivals(), expected);
}

}  // namespace
}  // namespace zel::testing
