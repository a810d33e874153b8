#include "base/settings.h"

#include "base/active_device.h"
#include "base/device_types.h"

namespace zel {
namespace {

std::string ComKey(int i) {
  return "Com" + std::to_string(i + 1);
}
std::string ComPathKey(int i) {
  return ComKey(i) + "Path";
}

void WriteActiveDevice(IniFile& ini, const ActiveDevice& d) {
  ini.WriteString(kActiveSection, "ЖРМ", d.zhrmNumber);
  ini.WriteString(kActiveSection, "ККМ", d.kkmNumber);
  ini.WriteString(kActiveSection, "Верс", d.typeText);
}

void WriteChannels(IniFile& ini, const ChannelTable& channels) {
  for (int n = 1; n <= kChannelCount; ++n) {
    const DeviceChannel& ch = channels.Channel(n);
    const std::string section = ChannelSection(n);
    ini.WriteBool(section, "Set", ch.disconnected);
    ini.WriteBool(section, "Select", ch.activeMark);
    ini.WriteString(section, "ЖРМ", ch.zhrmNumber);
    ini.WriteString(section, "Верс", ch.deviceType);
    ini.WriteString(section, "ККМ", ch.kkmNumber);
  }
}

}  // namespace

std::string ChannelSection(int n) {
  return "ЖРМ " + std::to_string(n) + " конт";
}

Settings::Settings(const std::filesystem::path& programDir)
    : path_(programDir / kSettingsFileName) {}

bool Settings::Load(Workspace& ws) {
  if (settingsLoaded) return false;
  settingsLoaded = true;
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    ws.prompts.Information(
        "Не удалось открыть файл ZELBase.ini\rвсе установки программы будут приведены в "
        "исходные.");
  }
  ini_.Load(path_);  // anything unreadable reads as defaults
  LoadPort(ws);
  CreateMissingBases(ws);
  ws.channels.reactionsEnabled = false;
  ws.channels.warningsArmed = false;
  for (int n = 1; n <= kChannelCount; ++n) LoadChannel(ws, n);
  const int page = ini_.ReadInteger(kGeneralSection, "ActivePage", 1);
  ws.channels.frontPage = page >= 1 && page <= kChannelCount ? page : 1;
  ws.channels.reactionsEnabled = true;
  LoadMainWindow(ws);
  CheckBaseRange(ws.range, ws.device.typeText, ws.prompts);
  LeaveRangeEdited(ws.controls);
  SelectZhrm(ws);
  return true;
}

void Settings::LoadPort(Workspace& ws) const {
  const std::array<std::string, kComPorts> defaults = DefaultComPaths();
  int chosen = ws.port.comIndex;
  for (int i = 0; i < kComPorts; ++i) {
    // Unticking the chosen button leaves none chosen; the last true wins.
    if (ini_.ReadBool(kComSection, ComKey(i), i == 0 || i == 4)) {
      chosen = i;
    } else if (chosen == i) {
      chosen = -1;
    }
    ws.port.comPaths[i] = ini_.ReadString(kComSection, ComPathKey(i), defaults[i]);
  }
  ws.port.comIndex = chosen;
  ws.port.speedText = ini_.ReadString(kComSection, "BaudRate", "9600");
  if (chosen >= 0) ws.port.OpenAtStartup();
}

void Settings::CreateMissingBases(Workspace& ws) const {
  bool reported = false;  // one box, not sixteen, when the folder is unwritable
  for (int n = 1; n <= kChannelCount; ++n) {
    ws.device.baseFileName = BaseFileName(n);
    std::string error;
    if (ws.folder.Exists(ws.device.baseFileName) ||
        ws.folder.CreateBase(ws.device.baseFileName, error) || reported) {
      continue;
    }
    ws.prompts.Error(error);
    reported = true;
  }
}

void Settings::LoadChannel(Workspace& ws, int n) const {
  ChannelTable& channels = ws.channels;
  const std::string section = ChannelSection(n);
  if (ini_.ReadBool(section, "Select", n == 1)) {
    channels.MarkActive(n);
  } else {
    channels.ClearActiveMark(n);
  }
  DeviceChannel& ch = channels.Channel(n);
  ch.zhrmNumber = ini_.ReadString(section, "ЖРМ", ZeroPadded(n, 4));
  ch.deviceType = ini_.ReadString(section, "Верс", kTypeZhrm15);
  ch.kkmNumber = ini_.ReadString(section, "ККМ", ZeroPadded(n, 8));
  channels.ApplyTypeRule(n);
  const bool off = ini_.ReadBool(section, "Set", n != 1);
  channels.SetDisconnected(n, off);  // reactions are off: no step runs by itself
  if (off) {
    channels.DisconnectStep(n);
  } else {
    ch.controlsShown = true;
  }
}

void Settings::LoadMainWindow(Workspace& ws) const {
  ws.device.zhrmNumber = ini_.ReadString(kActiveSection, "ЖРМ", "0001");
  ws.device.kkmNumber = ini_.ReadString(kActiveSection, "ККМ", "00000001");
  ws.device.typeText = ini_.ReadString(kActiveSection, "Верс", kTypeZhrm15);
  ws.range.SetStartText(ini_.ReadString(kRangeSection, "begin", "0001"));
  ws.range.SetEndText(ini_.ReadString(kRangeSection, "end", "4096"));
  ws.options.blockKkm = ini_.ReadBool(kGeneralSection, "BlockKKM", false);
  const int mode = ini_.ReadInteger(kGeneralSection, "Напоминание 3", 1);
  if (mode >= 1 && mode <= 3) {
    ws.options.reminderMode = mode;
    ws.options.reminderMenuTicked = mode == 1;
  }
}

bool Settings::SavePartial(Workspace& ws) {
  return Save(ws, [&ws](IniFile& ini) {
    WriteActiveDevice(ini, ws.device);
    WriteChannels(ini, ws.channels);
    ini.WriteInteger(kGeneralSection, "ActivePage", ws.channels.frontPage);
  });
}

bool Settings::SavePos(Workspace& ws) {
  return Save(ws, [&ws](IniFile& ini) {
    for (int i = 0; i < kComPorts; ++i)
      ini.WriteBool(kComSection, ComKey(i), ws.port.comIndex == i);
    for (int i = 0; i < kComPorts; ++i) {
      ini.WriteString(kComSection, ComPathKey(i), ws.port.comPaths[i]);
    }
    ini.WriteString(kRangeSection, "begin", ws.range.StartText());
    ini.WriteString(kRangeSection, "end", ws.range.EndText());
    ini.WriteBool(kGeneralSection, "BlockKKM", ws.options.blockKkm);
    ini.WriteInteger(kGeneralSection, "Напоминание 3", ws.options.reminderMode);
    WriteActiveDevice(ini, ws.device);
    WriteChannels(ini, ws.channels);
    ini.WriteString(kComSection, "BaudRate", ws.port.speedText);
    ini.WriteInteger(kGeneralSection, "ActivePage", ws.channels.frontPage);
  });
}

bool Settings::Save(Workspace& ws, const std::function<void(IniFile&)>& write) {
  // Start from the file as it is now, so keys others wrote meanwhile stay.
  IniFile disk;
  if (!disk.Load(path_)) disk = ini_;
  write(disk);
  std::string error;
  if (!disk.Save(path_, error)) {
    ws.prompts.Error("Unable to write to " + path_.string());
    return false;
  }
  ini_ = std::move(disk);
  return true;
}

}  // namespace zel
