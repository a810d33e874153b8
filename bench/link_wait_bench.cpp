// CPU cost of waiting in the link layer on a real pseudo-terminal, and the
// overshoot of LinkDelay. Prints figures; the targets are in the comments.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "link/link.h"
#include "link/posix_tty_port.h"

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Target: under 5 % of one core while waiting for bytes that never come.
void MeasureWaitCpu(zel::Link& link) {
  zel::SteadyClock clock;
  const double cpu0 = CpuSeconds();
  const int64_t t0 = clock.NowUs();
  for (int i = 0; i < 5; ++i) link.WaitForBytes(1, 200);
  std::array<uint8_t, 4> dst{};
  for (int i = 0; i < 5; ++i) link.ReadWithTimeout(dst, 4, 200);
  const double wall = (clock.NowUs() - t0) / 1e6;
  const double cpu = CpuSeconds() - cpu0;
  std::printf("waiting: %.2f s wall, %.4f s CPU = %.2f %% of one core (target < 5 %%)\n", wall, cpu,
              100.0 * cpu / wall);
}

// Target: median under 0.5 ms past ms + 1.
void MeasureDelay(zel::Link& link, int ms) {
  zel::SteadyClock clock;
  std::vector<double> over;
  for (int i = 0; i < 200; ++i) {
    const int64_t t0 = clock.NowUs();
    link.LinkDelay(ms);
    over.push_back((clock.NowUs() - t0) / 1000.0 - (ms + 1));
  }
  std::sort(over.begin(), over.end());
  std::printf("LinkDelay(%2d): overshoot past ms+1: min %.3f  median %.3f  max %.3f ms\n", ms,
              over.front(), over[over.size() / 2], over.back());
}

}  // namespace

int main() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("posix_openpt");
    return 1;
  }
  auto port = std::make_shared<zel::PosixTtyPort>(ptsname(master));
  if (!port->IsOpen()) {
    std::fprintf(stderr, "%s\n", port->LastProblem().c_str());
    return 1;
  }
  zel::Link link;
  link.SetPort(port);
  link.ApplySettings();
  MeasureWaitCpu(link);
  for (int ms : {1, 5, 20}) MeasureDelay(link, ms);
  close(master);
  return 0;
}
