// A read of 4096 records at 115200 baud: each an addressed request answered
// by its acknowledgement and a 33-byte record. Timed as modelled wire time on
// the virtual clock, on the simulated line in real time, through the RFC 2217
// backend against our test server on loopback, and on the simulated line with
// the protocol trace on. Target: the RFC 2217 read takes at most 1.2 times
// the simulated one. On a busy machine the real-time figures grow with the
// scheduler's wake-up latency; the wire time does not.
//
// Usage: bench_rfc2217 [records]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "link/link.h"
#include "link/rfc2217_port.h"
#include "link/spy_port.h"
#include "rfc2217_test_server.h"
#include "sim/simulated_line.h"

namespace {

constexpr uint32_t kBaud = 115200;
constexpr uint8_t kAddress = 0x34;
constexpr std::size_t kRecordBytes = 33;
constexpr int64_t kTurnaroundUs = 300;

// Echoes its address, acknowledges a body with its checksum and sends the
// record asked for.
class RecordDevice final : public zel::LineDevice {
 public:
  void Receive(uint8_t byte, zel::Parity parity, uint32_t /*baud*/, int64_t atUs,
               zel::SimulatedLine& line) override {
    if (parity == zel::Parity::Mark) {
      selected_ = byte == kAddress;
      body_.clear();
      if (selected_) line.SendToMaster(std::vector<uint8_t>{byte}, atUs + kTurnaroundUs);
      return;
    }
    if (!selected_) return;
    body_.push_back(byte);
    if (body_.size() != static_cast<std::size_t>(body_[0]) + 2) return;
    std::vector<uint8_t> reply{byte};
    for (std::size_t i = 0; i < kRecordBytes; ++i)
      reply.push_back(static_cast<uint8_t>(body_[2] + i));
    line.SendToMaster(reply, atUs + kTurnaroundUs);
    selected_ = false;
  }

 private:
  bool selected_ = false;
  std::vector<uint8_t> body_;
};

// Seconds for `records` exchanges on the link's clock; counts the failures.
double ReadRecords(zel::Link& link, int records, int* failed) {
  link.Settings().baud = kBaud;
  link.ApplySettings();
  link.Addresses().zhrmAddress = 0x1234;
  zel::Clock& clock = link.GetClock();
  const int64_t start = clock.NowUs();
  for (int i = 0; i < records; ++i) {
    const bool ok = link.SendAddressedCommand(3, static_cast<uint16_t>(i)) &&
                    link.ReadWithTimeout(link.Buffers().main, kRecordBytes, 100) &&
                    link.Buffers().main[0] == static_cast<uint8_t>(i);
    if (!ok) ++*failed;
  }
  return (clock.NowUs() - start) / 1e6;
}

void Report(const char* what, double seconds, int records, int failed) {
  std::printf("%-34s %8.3f s  %6.3f ms/record  %d failed\n", what, seconds,
              1000.0 * seconds / records, failed);
}

// The modelled wire time alone, on the virtual clock: the floor of both.
double ReportWireTime(int records) {
  zel::VirtualClock clock;
  auto line = std::make_shared<zel::SimulatedLine>(clock);
  line->Attach(std::make_shared<RecordDevice>());
  zel::Link link;
  link.SetPort(line);
  int failed = 0;
  const double seconds = ReadRecords(link, records, &failed);
  Report("wire time (virtual clock)", seconds, records, failed);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4096;
  const double wire = ReportWireTime(records);

  zel::SteadyClock clock;
  auto line = std::make_shared<zel::SimulatedLine>(clock);
  line->Attach(std::make_shared<RecordDevice>());
  zel::Link simLink;
  simLink.SetPort(line);
  int simFailed = 0;
  const double sim = ReadRecords(simLink, records, &simFailed);
  Report("simulated line", sim, records, simFailed);

  zel::testing::Rfc2217TestServer server;
  server.Attach(std::make_shared<RecordDevice>());
  auto port = std::make_shared<zel::Rfc2217Port>(server.Path());
  if (!port->IsOpen()) {
    std::fprintf(stderr, "%s\n", port->LastProblem().c_str());
    return 1;
  }
  zel::Link netLink;
  netLink.SetPort(port);
  int netFailed = 0;
  const double net = ReadRecords(netLink, records, &netFailed);
  Report("RFC 2217 on loopback", net, records, netFailed);

  auto tracedLine = std::make_shared<zel::SimulatedLine>(clock);
  tracedLine->Attach(std::make_shared<RecordDevice>());
  auto log = zel::TraceLog::OpenFile("/dev/null", nullptr);
  zel::Link tracedLink;
  tracedLink.SetPort(std::make_shared<zel::SpyPort>(tracedLine, log, "sim"));
  int tracedFailed = 0;
  const double traced = ReadRecords(tracedLink, records, &tracedFailed);
  Report("simulated line, traced", traced, records, tracedFailed);

  std::printf("ratio RFC 2217 / simulated: %.3f (target <= 1.2)\n", net / sim);
  std::printf("ratio RFC 2217 / wire time:  %.3f\n", net / wire);
  std::printf("ratio traced / simulated:   %.3f (untraced ports carry no tracer)\n", traced / sim);
  return simFailed + netFailed + tracedFailed == 0 ? 0 : 1;
}
