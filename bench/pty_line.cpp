// The demo device network behind a pseudo-terminal, answering no earlier than
// the wire allows (11-bit bytes, 1 ms turnaround), so that the whole program
// can be measured from outside as on a real line. Prepares DATA_DIR as a demo
// folder whose COM1 is the pty and prints the pty's path, then the mean time
// the kernel takes for one turn over a pty (a byte there and one back, each
// waking a poll(): what every echo and reply costs before any program's own
// work). Serves until its standard input closes; every line read there
// prints, so far: the modelled wire time in microseconds (the bytes both ways
// at the line's speed), how late this host wrote the ends of the devices'
// replies (its own wake-ups, which a real device does not have), the turns of
// the conversation, and the time from the end of each reply to the next
// request, summed (the program's answers, kernel turns included).
//
// Usage: bench_pty_line DATA_DIR [BATCH_US]
// BATCH_US > 0 writes the devices' bytes at most that often, as a USB
// adapter's latency timer does (1000 for an FTDI chip at low latency).
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "base/ini_file.h"
#include "base/settings.h"
#include "pty_device_host.h"
#include "sim/demo/demo_network.h"
#include "sim/demo/demo_setup.h"

namespace {

bool AwaitByte(int fd) {
  pollfd p{fd, POLLIN, 0};
  uint8_t b = 0;
  return ::poll(&p, 1, 1000) == 1 && ::read(fd, &b, 1) == 1;
}

// Both ends idle about a millisecond between turns, as in a conversation with
// a device, and a wake-up from idle costs more than one from a busy loop; the
// mean, because the turns add up.
long long MeanTurnUs() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return -1;
  const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  termios t{};
  if (slave < 0 || ::tcgetattr(slave, &t) != 0) return -1;
  ::cfmakeraw(&t);
  ::tcsetattr(slave, TCSANOW, &t);
  constexpr int kTurns = 2000;
  std::thread peer([slave] {
    const uint8_t b = 0;
    for (int i = 0; i < kTurns && AwaitByte(slave); ++i) {
      if (::write(slave, &b, 1) != 1) break;
    }
  });
  long long sumUs = 0;
  int turns = 0;
  for (; turns < kTurns; ++turns) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto t0 = std::chrono::steady_clock::now();
    const uint8_t b = 0;
    if (::write(master, &b, 1) != 1 || !AwaitByte(master)) break;
    sumUs +=
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0)
            .count();
  }
  peer.join();
  ::close(slave);
  ::close(master);
  return turns > 0 ? sumUs / turns : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: bench_pty_line DATA_DIR [BATCH_US]\n");
    return 2;
  }
  zel::testing::PtyDeviceHost host(argc > 2 ? std::atoll(argv[2]) : 0);
  if (host.SlavePath().empty()) {
    std::fprintf(stderr, "%s\n", host.Problem().c_str());
    return 1;
  }
  host.WithLine([](zel::SimulatedLine& line) { zel::SeedDemoNetwork(line); });
  const std::filesystem::path dir = argv[1];
  const auto ini = dir / zel::kSettingsFileName;
  std::string error;
  zel::IniFile settings;
  if (!zel::PrepareDemoFolder(dir, error) || !settings.Load(ini)) {
    std::fprintf(stderr, "%s: %s\n", dir.c_str(), error.c_str());
    return 1;
  }
  settings.WriteString(zel::kComSection, "Com1Path", host.SlavePath());
  if (!settings.Save(ini, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n%lld\n", host.SlavePath().c_str(), MeanTurnUs());
  std::fflush(stdout);
  for (std::string line; std::getline(std::cin, line);) {
    long long us = 0;
    host.WithLine([&us](zel::SimulatedLine& l) {
      us = static_cast<long long>(l.Sent().size() + l.ReceivedCount()) * l.Current().ByteTimeUs();
    });
    const auto tally = host.Counts();
    std::printf("%lld %lld %lld %lld\n", us, static_cast<long long>(tally.lateUs),
                static_cast<long long>(tally.turns), static_cast<long long>(tally.answerUs));
    std::fflush(stdout);
  }
  return 0;
}
