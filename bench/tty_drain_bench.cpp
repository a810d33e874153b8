// The same 4096-record write and read of a ЖРМ 1.5 (10416 baud) and a ЖРМ 3
// (9600) three ways: the simulated line on the virtual clock (the modelled
// wire time), the simulated line in real time, and the tty backend on a
// pseudo-terminal whose other side paces the bytes at the wire rate and hosts
// the same virtual device. Prints each real run as a ratio to the wire time,
// so what draining a long request before its reply wait costs is visible.
//
// Usage: bench_tty_drain [records]   (default 4096)
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "base/active_device.h"
#include "base/workspace.h"
#include "bench_hosts.h"
#include "link/posix_tty_port.h"
#include "operations/operations.h"
#include "pty_device_host.h"
#include "sim/simulated_line.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm3_device.h"

namespace zel {
namespace {

using bench::CpuSeconds;
using bench::GapMeter;
using bench::NoWarning;
using bench::YesPrompts;

struct Run {
  double seconds = 0;
  double cpu = 0;
  int64_t gapUs = 0;
};

// One write then one read of `records` products through the port `opener` gives.
Run Measure(Clock& clock, PortOpener opener, const char* type, const char* speed, int records,
            const std::filesystem::path& dir) {
  YesPrompts prompts;
  GapMeter gaps(clock);
  NoWarning warning;
  Link link;
  PortSetup port(link, std::move(opener));
  link.SetEventPump([&gaps] { gaps.ProcessEvents(); });
  port.comPaths[0] = "port";
  port.speedText = speed;
  port.OpenAtStartup();
  if (!link.PortValid()) {
    std::fprintf(stderr, "the port did not open\n");
    return {};
  }
  Workspace ws(dir, prompts, gaps, warning, link, port);
  bench::ActivateWithProducts(ws, type, records);
  const double cpu0 = CpuSeconds();
  const int64_t t0 = clock.NowUs();
  gaps.longestUs = 0;
  WriteActiveBase(ws);
  ReadActiveBase(ws);
  return {(clock.NowUs() - t0) / 1e6, CpuSeconds() - cpu0, gaps.longestUs};
}

std::shared_ptr<LineDevice> DeviceFor(const std::string& type) {
  if (type == "ЖРМ 1.5") return std::make_shared<Zhrm15Device>(0x0001, 0x0001);
  return std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
}

PortOpener SimOpener(Clock& clock, const std::string& type) {
  auto line = std::make_shared<SimulatedLine>(clock);
  line->Attach(DeviceFor(type));
  return [line](const std::string&) -> std::shared_ptr<BytePort> { return line; };
}

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::max(4, std::atoi(argv[1])) : 4096;
  const auto dir = std::filesystem::temp_directory_path() / "zelbase-bench-tty-drain";
  std::filesystem::create_directories(dir / "Base");
  const std::pair<const char*, const char*> families[] = {{"ЖРМ 1.5", "10416"}, {"ЖРМ 3", "9600"}};
  std::printf("%d records written and read back\n", records);
  std::printf("%-10s %6s %8s %8s %7s %8s %7s %11s\n", "type", "speed", "wire s", "sim s", "ratio",
              "tty s", "ratio", "CPU ms/rec");
  for (const auto& [type, speed] : families) {
    zel::VirtualClock virtualClock;
    const zel::Run wire =
        zel::Measure(virtualClock, zel::SimOpener(virtualClock, type), type, speed, records, dir);
    zel::SteadyClock steady;
    const zel::Run sim =
        zel::Measure(steady, zel::SimOpener(steady, type), type, speed, records, dir);
    zel::testing::PtyDeviceHost host;
    host.Attach(zel::DeviceFor(type));
    const std::string slave = host.SlavePath();
    const zel::Run tty = zel::Measure(
        steady,
        [slave](const std::string&) -> std::shared_ptr<zel::BytePort> {
          auto port = std::make_shared<zel::PosixTtyPort>(slave);
          return port->IsOpen() ? port : nullptr;
        },
        type, speed, records, dir);
    std::printf("%-10s %6s %8.2f %8.2f %7.3f %8.2f %7.3f %11.4f\n", type, speed, wire.seconds,
                sim.seconds, sim.seconds / wire.seconds, tty.seconds, tty.seconds / wire.seconds,
                1000.0 * tty.cpu / (2 * records));
  }
  std::filesystem::remove_all(dir);
  return 0;
}
