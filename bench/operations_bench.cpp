// Reads and writes N records of each family over the simulated line in real
// time at the family's speed, and prints program time / modelled wire time
// (the same run on the virtual clock), CPU time per record and the longest
// gap between two event batches. Targets: ratio <= 1.05 at 9600..19200 and
// <= 1.15 at 115200; <= 0.1 ms CPU per record; gap <= 50 ms.
//
// Usage: bench_operations [records]   (default 4096)
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "base/active_device.h"
#include "base/workspace.h"
#include "operations/operations.h"
#include "sim/register_device.h"
#include "sim/simulated_line.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"

namespace zel {
namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class YesPrompts final : public Prompts {
 public:
  void Message(const std::string& t) override { std::fprintf(stderr, "%s\n", t.c_str()); }
  void Information(const std::string& t) override { Message(t); }
  void Warning(const std::string& t) override { Message(t); }
  void Error(const std::string& t) override { Message(t); }
  bool AskYesNo(const std::string&) override { return true; }
  Answer AskYesNoCancel(const std::string&) override { return Answer::No; }
};

// Measures the longest time between two event batches, as the window sees it.
class GapMeter final : public ProgressHost {
 public:
  explicit GapMeter(Clock& clock) : clock_(clock) {}
  void ShowProgress(const std::string&, int, bool) override { last_ = clock_.NowUs(); }
  void AdvanceProgress() override {}
  void HideProgress() override {}
  void ProcessEvents() override {
    const int64_t now = clock_.NowUs();
    if (last_ > 0) longestUs = std::max(longestUs, now - last_);
    last_ = now;
  }
  int64_t longestUs = 0;

 private:
  Clock& clock_;
  int64_t last_ = 0;
};

class NoWarning final : public DisconnectWarning {
 public:
  Answer Ask() override { return {}; }
};

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

struct Run {
  double seconds = 0;
  double cpu = 0;
  int64_t gapUs = 0;
};

// One write then one read of `records` products, on `clock`.
Run Measure(Clock& clock, const Family& f, int records, const std::filesystem::path& dir) {
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
  ws.channels.Channel(1).deviceType = f.type;
  ws.channels.Channel(1).zhrmNumber = "0001";
  ws.channels.Channel(1).kkmNumber = "00000001";
  SelectZhrm(ws);
  ws.range.SetStartText("1");
  ws.range.SetEndText(std::to_string(records));
  for (int row = 1; row <= records; ++row) {
    ws.table.SetRecord(row, {"ТОВАР " + std::to_string(row), "12.50", "1",
                             "4600000" + std::to_string(10000 + row), "", "0", "0"});
  }
  const double cpu0 = CpuSeconds();
  const int64_t t0 = clock.NowUs();
  gaps.longestUs = 0;
  WriteActiveBase(ws);
  ReadActiveBase(ws);
  return {(clock.NowUs() - t0) / 1e6, CpuSeconds() - cpu0, gaps.longestUs};
}

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::max(4, std::atoi(argv[1])) : 4096;
  const auto dir = std::filesystem::temp_directory_path() / "zelbase-bench-operations";
  std::filesystem::create_directories(dir / "Base");
  const zel::Family families[] = {
      {"ЖРМ 1.5", "10416"}, {"ЖРМ 2.0", "19200"},  {"ЖРМ 3", "9600"},     {"ЖРМ 3", "19200"},
      {"ЖРМ 3", "115200"},  {"ЖРМ 200", "115200"}, {"ККМ ЗЕЛ-7Ф", "9600"}};
  std::printf("%d records written and read back per family\n", records);
  std::printf("%-12s %7s %10s %10s %7s %12s %9s\n", "type", "speed", "wire s", "real s", "ratio",
              "CPU ms/rec", "gap ms");
  for (const auto& f : families) {
    zel::VirtualClock virtualClock;
    const zel::Run wire = zel::Measure(virtualClock, f, records, dir);
    zel::SteadyClock steady;
    const zel::Run real = zel::Measure(steady, f, records, dir);
    std::printf("%-12s %7s %10.2f %10.2f %7.3f %12.4f %9.1f\n", f.type, f.speed, wire.seconds,
                real.seconds, real.seconds / wire.seconds, 1000.0 * real.cpu / (2 * records),
                real.gapUs / 1000.0);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
