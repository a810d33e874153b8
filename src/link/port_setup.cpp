#include "link/port_setup.h"

#include "link/posix_tty_port.h"

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

PortOpener DefaultPortOpener(std::shared_ptr<BytePort> simLine) {
  return [simLine](const std::string& path) -> std::shared_ptr<BytePort> {
    if (path == "sim") return simLine;
    auto port = std::make_shared<PosixTtyPort>(path);
    if (!port->IsOpen()) return nullptr;
    return port;
  };
}

PortSetup::PortSetup(Link& link, PortOpener opener)
    : comPaths(DefaultComPaths()), link_(link), opener_(std::move(opener)) {}

std::string PortSetup::CurrentPath() const {
  const int i = comIndex >= 0 && comIndex < kComPorts ? comIndex : 0;
  return comPaths[i];
}

std::string PortSetup::PortProblem() const {
  return link_.Port() ? link_.Port()->LastProblem() : std::string();
}

bool PortSetup::OpenPath() {
  link_.SetPort(opener_ ? opener_(CurrentPath()) : nullptr);
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
  Com_Timeouts();
  port->Purge();
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

void PortSetup::ApplyLineProfile(LineFamily family, ProfileContext context) {
  const LineProfile p = LineProfileFor(family, speedText, context);
  LineSettings& s = link_.Settings();
  s.baud = p.baud;
  if (p.parity) s.parity = *p.parity;
  if (p.flags) s.flags = *p.flags;
  link_.ApplySettings();
  if (BytePort* port = link_.Port()) port->SetDtr(p.dtrRaised);
}

}  // namespace zel
