#include "link/port_setup.h"

#include "link/posix_tty_port.h"
#include "link/rfc2217_port.h"

namespace zel {
namespace {

constexpr std::size_t kStartupQueueBytes = 30000;
constexpr std::size_t kDialogQueueBytes = 1024;

}  // namespace

std::array<std::string, kComPorts> DefaultComPaths() {
  std::array<std::string, kComPorts> paths;
  for (int i = 0; i < kComPorts; ++i) paths[i] = "/dev/ttyS" + std::to_string(i);
  return paths;
}

namespace {

std::shared_ptr<BytePort> OpenDevice(const std::string& path) {
  if (IsRfc2217Path(path)) return std::make_shared<Rfc2217Port>(path);
  return std::make_shared<PosixTtyPort>(path);
}

}  // namespace

PortOpener DefaultPortOpener(std::shared_ptr<BytePort> simLine, std::shared_ptr<TraceLog> trace) {
  return [simLine, trace](const std::string& path) -> std::shared_ptr<BytePort> {
    if (!trace) {
      if (path == "sim") return simLine;
      auto port = OpenDevice(path);
      return port->IsOpen() ? port : nullptr;
    }
    std::shared_ptr<BytePort> port = path == "sim" ? simLine : OpenDevice(path);
    if (!port) {
      SteadyClock clock;
      trace->Line(clock.NowUs(), "--", "open " + path + " failed: no such line");
      return nullptr;
    }
    // A port that did not open is traced once with its reason and dropped.
    auto spy = std::make_shared<SpyPort>(std::move(port), trace, path);
    return spy->IsOpen() ? spy : nullptr;
  };
}

PortSetup::PortSetup(Link& link, PortOpener opener)
    : comPaths(DefaultComPaths()), link_(link), opener_(std::move(opener)) {}

std::string PortSetup::CurrentPath() const {
  return comIndex >= 0 && comIndex < kComPorts ? comPaths[comIndex] : std::string();
}

std::string PortSetup::PortProblem() const {
  return link_.Port() ? link_.Port()->LastProblem() : std::string();
}

bool PortSetup::OpenPath() {
  // With no COM button checked no port is opened.
  const std::string path = CurrentPath();
  link_.SetPort(opener_ && !path.empty() ? opener_(path) : nullptr);
  lineProblemShown_.clear();
  return link_.Port() != nullptr;
}

void PortSetup::Configure(std::size_t queueBytes) {
  BytePort* port = link_.Port();
  if (!port) return;
  port->SetInputQueueBytes(queueBytes);
  LineSettings& s = link_.Settings();
  s = port->Current();
  s.baud = 9600;
  s.dataBits = 8;
  s.parity = Parity::None;
  s.stopBits = 1;
  s.flags = kFlagsRtsHandshake;
  link_.ApplySettings();
  // DTR control is disabled in the basic settings, yet Linux raises DTR at open.
  port->SetDtr(false);
  Com_Timeouts();
  port->Purge();
  ReportLineProblem();
}

void PortSetup::OpenAtStartup() {
  if (OpenPath()) Configure(kStartupQueueBytes);
}

bool PortSetup::set_p(Prompts& prompts) {
  ResetPort();
  if (!OpenPath()) {
    prompts.Information("Порт уже используется или недоступен !");
    return false;
  }
  prompts.Information("Порт проинициализирован !");
  Configure(kDialogQueueBytes);
  return true;
}

void PortSetup::Com_Timeouts() {
  link_.Timeouts() = PortTimeouts{};
}

void PortSetup::ResetPort() {
  if (BytePort* port = link_.Port()) port->Purge();
  link_.SetPort(nullptr);
}

void PortSetup::MySetup(bool mark) {
  link_.SetParity(mark ? Parity::Mark : Parity::Space, true);
}

void PortSetup::ReopenWithProfile() {
  OpenAtStartup();
  if (profile_) ApplyLineProfile(profile_->family, profile_->context);
}

void PortSetup::ApplyLineProfile(LineFamily family, ProfileContext context) {
  profile_ = AppliedProfile{family, context};
  const LineProfile p = LineProfileFor(family, speedText, context);
  LineSettings& s = link_.Settings();
  const LineSettings before = s;
  s.baud = p.baud;
  if (p.parity) s.parity = *p.parity;
  if (p.flags) s.flags = *p.flags;
  link_.ApplySettings();
  if (BytePort* port = link_.Port()) port->SetDtr(p.dtrRaised);
  if (s.baud != before.baud || s.flags != before.flags) lineProblemShown_.clear();
  ReportLineProblem();
}

void PortSetup::ReportLineProblem() {
  BytePort* port = link_.Port();
  if (!port || !port->IsOpen()) return;
  const std::string problem = port->LineProblem();
  if (problem.empty() || problem == lineProblemShown_) return;
  lineProblemShown_ = problem;
  if (showLineProblem) showLineProblem(problem);
}

}  // namespace zel
