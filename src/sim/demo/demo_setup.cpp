#include "sim/demo/demo_setup.h"

#include <system_error>

#include "base/any_case_name.h"
#include "base/channels.h"
#include "base/device_types.h"
#include "base/program_folder.h"
#include "base/settings.h"
#include "link/port_setup.h"
#include "sim/demo/demo_network.h"

namespace zel {
namespace {

void WritePort(IniFile& ini) {
  for (int i = 1; i <= kComPorts; ++i) {
    ini.WriteBool(kComSection, "Com" + std::to_string(i), i == 1);
    ini.WriteString(kComSection, "Com" + std::to_string(i) + "Path", "sim");
  }
  ini.WriteString(kComSection, "BaudRate", kDemoZhrm3Speed);
}

void WriteChannel(IniFile& ini, int n, const DemoChannel* demo) {
  const std::string section = ChannelSection(n);
  ini.WriteBool(section, "Set", demo == nullptr);
  ini.WriteBool(section, "Select", n == 1);
  ini.WriteString(section, "ЖРМ", demo ? demo->zhrmNumber : ZeroPadded(n, 4));
  ini.WriteString(section, "Верс", demo ? demo->type : std::string(kTypeZhrm15));
  ini.WriteString(section, "ККМ", demo ? demo->kkmNumber : ZeroPadded(n, 8));
}

const DemoChannel* DemoChannelNumbered(int n) {
  for (const DemoChannel& c : DemoChannels()) {
    if (c.channel == n) return &c;
  }
  return nullptr;
}

}  // namespace

std::filesystem::path DemoDataFolder() {
  return UserProgramFolder() / "demo";
}

IniFile DemoSettings() {
  IniFile ini;
  WritePort(ini);
  for (int n = 1; n <= kChannelCount; ++n) WriteChannel(ini, n, DemoChannelNumbered(n));
  const DemoChannel& first = DemoChannels().front();
  ini.WriteString(kActiveSection, "ЖРМ", first.zhrmNumber);
  ini.WriteString(kActiveSection, "ККМ", first.kkmNumber);
  ini.WriteString(kActiveSection, "Верс", first.type);
  ini.WriteString(kRangeSection, "begin", "0001");
  ini.WriteString(kRangeSection, "end", ZeroPadded(kDemoRangeEnd, 4));
  ini.WriteInteger(kGeneralSection, "ActivePage", 1);
  return ini;
}

bool PrepareDemoFolder(const std::filesystem::path& folder, std::string& error) {
  if (!MakeProgramFolder(folder, error)) return false;
  std::error_code ec;
  const std::filesystem::path settings = PathInAnyCase(folder, kSettingsFileName);
  if (std::filesystem::exists(settings, ec) || ec) {
    if (!ec) return true;
    error = "cannot look at " + settings.string() + ": " + ec.message();
    return false;
  }
  return DemoSettings().Save(settings, error);
}

}  // namespace zel
