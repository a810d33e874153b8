// The termios backend on a pseudo-terminal pair: configuration and bytes
// both ways. A pty ignores parity and has no DTR; both must be harmless.
#include "link/posix_tty_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "link/link.h"
#include "link/port_setup.h"
#include "support/scripted_prompts.h"
#include "support/unprivileged.h"

namespace zel {
namespace {

class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    slavePath_ = ptsname(master_);
  }
  ~PtyPair() { CloseMaster(); }
  void CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }
  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }

  std::vector<uint8_t> ReadMaster(std::size_t n, int timeoutMs) {
    std::vector<uint8_t> got;
    while (got.size() < n) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, timeoutMs) <= 0) break;
      uint8_t buf[256];
      const ssize_t r = read(master_, buf, sizeof buf);
      if (r <= 0) break;
      got.insert(got.end(), buf, buf + r);
    }
    return got;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

TEST(PtyPort, ConfiguresEverySettingWithoutError) {
  PtyPair pty;
  ASSERT_FALSE(pty.slavePath().empty());
  PosixTtyPort port(pty.slavePath());
  ASSERT_TRUE(port.IsOpen()) << port.LastProblem();
  for (uint32_t baud : {10416u, 9600u, 19200u, 115200u}) {
    for (Parity p : {Parity::None, Parity::Mark, Parity::Space}) {
      LineSettings s;
      s.baud = baud;
      s.parity = p;
      EXPECT_TRUE(port.Apply(s, true)) << baud;
      EXPECT_EQ(port.Current(), s);
    }
  }
  port.SetDtr(true);
  port.SetDtr(false);
  port.Purge();
  EXPECT_TRUE(port.IsOpen());
}

TEST(PtyPort, MovesBytesBothWays) {
  PtyPair pty;
  PosixTtyPort port(pty.slavePath());
  ASSERT_TRUE(port.IsOpen());
  LineSettings s;
  s.baud = 10416;
  ASSERT_TRUE(port.Apply(s, false));

  const uint8_t out[] = {0xF1, 0x01, 0xF2, 0x02, 0x03, 0x08, 0x00, 0x00, 0x00, 0xF4};
  EXPECT_EQ(port.Write(out, sizeof out, 100), sizeof out);
  EXPECT_EQ(pty.ReadMaster(sizeof out, 1000), std::vector<uint8_t>(out, out + sizeof out));

  const uint8_t in[] = {0xF4, 0x00, 0xFF, 0x0A, 0x0D};
  ASSERT_EQ(write(pty.master(), in, sizeof in), static_cast<ssize_t>(sizeof in));
  SteadyClock clock;
  EXPECT_TRUE(port.WaitForBytes(5, clock.NowUs() + 1'000'000));
  EXPECT_EQ(port.BytesWaiting(), 5u);
  uint8_t got[8] = {};
  EXPECT_EQ(port.Read(got, 3), 3u);
  EXPECT_EQ(port.Read(got + 3, 8), 2u);
  EXPECT_EQ(std::vector<uint8_t>(got, got + 5), std::vector<uint8_t>(in, in + 5));
}

TEST(PtyPort, LinkExchangesThroughThePty) {
  PtyPair pty;
  auto port = std::make_shared<PosixTtyPort>(pty.slavePath());
  ASSERT_TRUE(port->IsOpen());
  Link link;
  link.SetPort(port);
  link.ApplySettings();
  const uint8_t reply[] = {0x01, 0x02, 0x03};
  ASSERT_EQ(write(pty.master(), reply, 3), 3);
  std::array<uint8_t, 3> dst{};
  EXPECT_TRUE(link.ReadWithTimeout(dst, 3, 500));
  EXPECT_EQ(dst[2], 0x03);
  EXPECT_FALSE(link.WaitForBytes(1, 20));
}

TEST(PtyPort, HangUpFailsTheWaitAtOnce) {
  PtyPair pty;
  PosixTtyPort port(pty.slavePath());
  ASSERT_TRUE(port.IsOpen());
  pty.CloseMaster();
  SteadyClock clock;
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(port.WaitForBytes(1, start + 2'000'000));
  EXPECT_LT(clock.NowUs() - start, 1'000'000);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.LastProblem().empty());
}

// However a reply's bytes are spread, never sooner than the wire allows, the
// wait for the whole reply ends as soon as its last byte is in, not a sleep later.
TEST(PtyPort, WaitForAWholeReplyEndsWithItsLastByte) {
  constexpr std::size_t kBytes = 40;
  struct Delivery {
    const char* name;
    int64_t firstHeldUs;  ///< the first write waits this long after the first byte
    int64_t tickUs;       ///< > 0: then what has ended is written at every tick
  };
  const Delivery deliveries[] = {
      {"each byte as it ends", 0, 0},
      {"an adapter's 1 ms ticks", 0, 1'000},
      {"an adapter's 16 ms latency timer", 0, 16'000},
      {"the first byte alone 8 ms late, then the rest catching up", 8'000, 0},
  };
  for (const Delivery& d : deliveries) {
    SCOPED_TRACE(d.name);
    PtyPair pty;
    PosixTtyPort port(pty.slavePath());
    ASSERT_TRUE(port.IsOpen());
    LineSettings s;
    s.baud = 9600;
    ASSERT_TRUE(port.Apply(s, false));
    SteadyClock clock;
    const int64_t startUs = clock.NowUs();
    const int64_t byteUs = s.ByteTimeUs();
    int64_t lastWriteUs = 0;
    std::thread device([&] {
      const uint8_t b[kBytes] = {};
      std::size_t sent = 0;
      int64_t atUs = startUs + byteUs + d.firstHeldUs;
      while (sent < kBytes) {
        clock.SleepUntilUs(atUs);
        auto ended = std::min<std::size_t>(kBytes, (clock.NowUs() - startUs) / byteUs);
        if (sent == 0 && d.firstHeldUs > 0) ended = 1;
        if (ended > sent) {
          lastWriteUs = clock.NowUs();
          if (write(pty.master(), b + sent, ended - sent) != static_cast<ssize_t>(ended - sent))
            return;
          sent = ended;
        }
        const bool aloneSoFar = sent == 1 && d.firstHeldUs > 0;
        atUs = d.tickUs > 0 ? atUs + d.tickUs
               : aloneSoFar ? atUs + 3'000  // long enough for the port to see it alone
                            : startUs + static_cast<int64_t>(sent + 1) * byteUs;
      }
    });
    // Waits run in slices, so one may begin at any byte: here at the first.
    const bool whole =
        port.WaitForBytes(1, startUs + 1'000'000) && port.WaitForBytes(kBytes, startUs + 1'000'000);
    const int64_t doneUs = clock.NowUs();
    device.join();
    EXPECT_TRUE(whole);
    EXPECT_LT(doneUs - lastWriteUs, 5'000);
  }
}

TEST(PtyPort, MissingPathGivesAnInvalidPort) {
  PosixTtyPort port("/nonexistent/ttyUSB9");
  EXPECT_FALSE(port.IsOpen());
  EXPECT_NE(port.LastProblem().find("/nonexistent/ttyUSB9"), std::string::npos);
  uint8_t b = 0;
  EXPECT_EQ(port.Write(&b, 1, 10), 0u);
  EXPECT_FALSE(port.WaitForBytes(1, 0));
}

// Another program that opened the port first and holds it, locked as
// pyserial's exclusive mode does or exclusive as TIOCEXCL makes it, until
// this object goes.
class Holder {
 public:
  enum class Way { Lock, Exclusive };
  Holder(const std::string& path, Way way) {
    int ready[2];
    int go[2];
    if (pipe(ready) != 0 || pipe(go) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(go[1]);
      const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
      const bool held = fd >= 0 && (way == Way::Lock ? flock(fd, LOCK_EX | LOCK_NB) == 0
                                                     : ioctl(fd, TIOCEXCL) == 0);
      char c = held ? 1 : 0;
      if (write(ready[1], &c, 1) != 1) _exit(1);
      while (read(go[0], &c, 1) != 0) {
      }
      ioctl(fd, TIOCNXCL);
      _exit(0);
    }
    close(ready[1]);
    close(go[0]);
    go_ = go[1];
    char c = 0;
    held_ = pid_ > 0 && read(ready[0], &c, 1) == 1 && c == 1;
    close(ready[0]);
  }
  ~Holder() {
    if (go_ >= 0) close(go_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  bool held() const { return held_; }

 private:
  pid_t pid_ = -1;
  int go_ = -1;
  bool held_ = false;
};

// Opens the port in a child process without root's privileges, for which
// TIOCEXCL binds; true when the port opened.
bool OpensUnprivileged(const std::string& path) {
  return testing::RunUnprivileged([&] {
           return std::string(PosixTtyPort(path).IsOpen() ? "open" : "refused");
         }) == "open";
}

TEST(PtyPort, APortAnotherProgramHoldsIsRefused) {
  for (Holder::Way way : {Holder::Way::Lock, Holder::Way::Exclusive}) {
    const char* name = way == Holder::Way::Lock ? "locked" : "exclusive";
    PtyPair pty;
    ASSERT_EQ(chmod(pty.slavePath().c_str(), 0666), 0);
    ASSERT_TRUE(OpensUnprivileged(pty.slavePath())) << name;
    {
      Holder other(pty.slavePath(), way);
      ASSERT_TRUE(other.held()) << name;
      PosixTtyPort port(pty.slavePath());
      EXPECT_FALSE(port.IsOpen()) << name;
      EXPECT_NE(port.LastProblem().find("held by another program"), std::string::npos) << name;
      EXPECT_FALSE(OpensUnprivileged(pty.slavePath())) << name;
    }
    EXPECT_TRUE(PosixTtyPort(pty.slavePath()).IsOpen()) << name;
  }
}

TEST(PtyPort, WhileWeHoldThePortNoOtherOpenerGetsIt) {
  PtyPair pty;
  ASSERT_EQ(chmod(pty.slavePath().c_str(), 0666), 0);
  {
    PosixTtyPort first(pty.slavePath());
    ASSERT_TRUE(first.IsOpen());
    EXPECT_FALSE(PosixTtyPort(pty.slavePath()).IsOpen());
    EXPECT_FALSE(OpensUnprivileged(pty.slavePath()));
    Holder locker(pty.slavePath(), Holder::Way::Lock);
    EXPECT_FALSE(locker.held());
  }
  // Closed, it is free again, even on a pty whose other side stays open.
  EXPECT_TRUE(PosixTtyPort(pty.slavePath()).IsOpen());
  EXPECT_TRUE(OpensUnprivileged(pty.slavePath()));
}

TEST(PtyPort, InitialisingAPortAnotherProgramHoldsSaysBusy) {
  PtyPair pty;
  Holder other(pty.slavePath(), Holder::Way::Lock);
  ASSERT_TRUE(other.held());
  Link link;
  PortSetup setup(link, DefaultPortOpener(nullptr));
  setup.comIndex = 2;
  setup.comPaths[2] = pty.slavePath();
  testing::ScriptedPrompts prompts;
  EXPECT_FALSE(setup.set_p(prompts));
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Порт уже используется или недоступен !"});
  EXPECT_FALSE(link.PortValid());
}

TEST(PtyPort, NonTtyFileIsRefused) {
  PosixTtyPort port("/dev/null");
  EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace zel
