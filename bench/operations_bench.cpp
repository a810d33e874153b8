// Writes and reads back N records of each family over the simulated line in
// real time at the family's speed, and prints beside it the same run on the
// virtual clock: "wire" is the bytes' own time, "floor" adds the pauses and
// turnarounds the devices require, "over" is (program - floor) / wire. Also
// CPU per record, CPU share of a core, and the longest gap between two event
// batches. Targets: over <= 0.02; <= 0.1 ms CPU per record and < 2 % of a
// core; gap <= 50 ms where the reply itself is shorter.
//
// Usage: bench_operations [--virtual] [records [speed]]   (default 4096, every family)
// --virtual prints only the virtual clock's run: wire and floor, in no time.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <QCoreApplication>
#include "base/active_device.h"
#include "base/workspace.h"
#include "bench_hosts.h"

#include "base/settings.h"
#include "operations/control_tapes.h"
#include "operations/operations.h"
#include "server/server_view.h"
#include "server/tserver.h"
#include "sim/register_device.h"
#include "sim/simulated_line.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"

namespace zel {
namespace {

using bench::CpuSeconds;
using bench::GapMeter;
using bench::NoWarning;
using bench::YesPrompts;

struct Family {
  const char* type;
  const char* speed;
};

std::shared_ptr<LineDevice> DeviceFor(const std::string& type) {
  if (type == "ЖРМ 1.5") return std::make_shared<Zhrm15Device>(0x0001, 0x0001);
  if (type == "ЖРМ 2.0") return std::make_shared<Zhrm20Device>(0x0001);
  if (type == "ККМ ЗЕЛ-7Ф") return std::make_shared<RegisterDevice>(0x01);
  const auto model = type == "ЖРМ 3+"    ? Zhrm3FamilyModel::Zhrm3Plus
                     : type == "ЖРМ 200" ? Zhrm3FamilyModel::Zhrm200
                                         : Zhrm3FamilyModel::Zhrm3;
  return std::make_shared<Zhrm3Device>(model, 0x0001);
}

// The steady clock, adding up how late the kernel woke each wait: on a real
// port the reply's own arrival wakes the program, on the simulated line a
// timer does, and that timer's lateness is not the program's work.
class LateMeter final : public Clock {
 public:
  int64_t NowUs() override { return steady_.NowUs(); }
  void WaitUntilUs(int64_t deadlineUs) override {
    if (deadlineUs <= NowUs()) return;
    steady_.WaitUntilUs(deadlineUs);
    lateUs += NowUs() - deadlineUs;
  }
  void SleepUntilUs(int64_t deadlineUs) override {
    if (deadlineUs <= NowUs()) return;
    steady_.SleepUntilUs(deadlineUs);
    lateUs += NowUs() - deadlineUs;
  }
  int64_t lateUs = 0;

 private:
  SteadyClock steady_;
};

struct Run {
  double seconds = 0;
  double wire = 0;  ///< the bytes both ways at the line's speed
  double cpu = 0;
  int64_t gapUs = 0;
};

class NoView final : public ServerView {
 public:
  void ShowServerPanel(bool) override {}
  void SetServerProgress(int) override {}
  void TapeTablesChanged() override {}
  void SetMainWindowVisible(bool) override {}
};

// The automation service's WriteBase and ReadBase, their steps run by the
// event loop as a client's calls would; false where the type has none.
bool ThroughServer(Workspace& ws, const std::filesystem::path& dir, int records) {
  TapeTables tapes;
  NoView view;
  Settings settings(dir);
  TServer server(ws, tapes, view, settings);
  if (server.SetRange(1, records) != 1) return false;
  for (auto start : {&TServer::WriteBase, &TServer::ReadBase}) {
    if ((server.*start)() != 1) return false;
    while (server.Context().stepper.Running()) QCoreApplication::processEvents();
  }
  return true;
}

// One write then one read of `records` products, on `clock`, by the window's
// operations or through the server.
Run Measure(Clock& clock, const Family& f, int records, const std::filesystem::path& dir,
            bool server) {
  auto line = std::make_shared<SimulatedLine>(clock);
  line->Attach(DeviceFor(f.type));
  YesPrompts prompts;
  GapMeter gaps(clock);
  NoWarning warning;
  Link link;
  PortSetup port(link, [line](const std::string&) -> std::shared_ptr<BytePort> { return line; });
  link.SetEventPump([&gaps] { gaps.ProcessEvents(); });
  port.speedText = f.speed;
  port.OpenAtStartup();
  Workspace ws(dir, prompts, gaps, warning, link, port);
  bench::ActivateWithProducts(ws, f.type, records);
  const double cpu0 = CpuSeconds();
  const int64_t t0 = clock.NowUs();
  gaps.longestUs = 0;
  if (!server) {
    WriteActiveBase(ws);
    ReadActiveBase(ws);
  } else if (!ThroughServer(ws, dir, records)) {
    return {};
  }
  const auto bytes = line->Sent().size() + line->ReceivedCount();
  return {(clock.NowUs() - t0) / 1e6, bytes * link.Settings().ByteTimeUs() / 1e6,
          CpuSeconds() - cpu0, gaps.longestUs};
}

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // the server's steps run on its event loop
  const bool virtualOnly = argc > 1 && std::string(argv[1]) == "--virtual";
  if (virtualOnly) --argc, ++argv;
  const int records = argc > 1 ? std::max(4, std::atoi(argv[1])) : 4096;
  const auto dir = std::filesystem::temp_directory_path() / "zelbase-bench-operations";
  std::filesystem::create_directories(dir / "Base");
  const zel::Family families[] = {
      {"ЖРМ 1.5", "10416"}, {"ЖРМ 2.0", "19200"},  {"ЖРМ 3", "9600"},     {"ЖРМ 3", "19200"},
      {"ЖРМ 3", "115200"},  {"ЖРМ 200", "115200"}, {"ККМ ЗЕЛ-7Ф", "9600"}};
  std::printf(
      "%d records written and read back per family, by the window's operations (window)\n"
      "and through the automation service's steps (server)\n",
      records);
  std::printf("%-12s %7s %-6s %7s %7s %9s %7s %7s %7s %10s %6s %6s\n", "type", "speed", "path",
              "wire s", "floor s", "program s", "over", "late", "own", "CPU ms/rec", "CPU %",
              "gap ms");
  for (const auto& f : families) {
    if (argc > 2 && std::string(argv[2]) != f.speed) continue;
    for (const bool server : {false, true}) {
      zel::VirtualClock virtualClock;
      const zel::Run wire = zel::Measure(virtualClock, f, records, dir, server);
      if (wire.seconds <= 0) continue;
      if (virtualOnly) {
        std::printf("%-12s %7s %-6s %7.2f %7.2f\n", f.type, f.speed, server ? "server" : "window",
                    wire.wire, wire.seconds);
        continue;
      }
      zel::LateMeter steady;
      const zel::Run real = zel::Measure(steady, f, records, dir, server);
      const double over = (real.seconds - wire.seconds) / wire.wire;
      const double late = steady.lateUs / 1e6 / wire.wire;
      std::printf("%-12s %7s %-6s %7.2f %7.2f %9.2f %7.4f %7.4f %7.4f %10.4f %6.2f %6.1f\n", f.type,
                  f.speed, server ? "server" : "window", wire.wire, wire.seconds, real.seconds,
                  over, late, over - late, 1000.0 * real.cpu / (2 * records),
                  100.0 * real.cpu / real.seconds, real.gapUs / 1000.0);
    }
  }
  std::filesystem::remove_all(dir);
  return 0;
}
