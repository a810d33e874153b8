#include "base/settings.h"

#include <algorithm>
#include <system_error>

#include "base/active_device.h"
#include "base/any_case_name.h"
#include "base/device_types.h"
#include "link/serial_adapters.h"

namespace zel {
namespace {

const char* const kBadZhrmNumber = "Неверный номер ЖРМ !!!";
const char* const kBadKkmNumber = "Неверный номер ККМ !!!";
constexpr std::size_t kRangeDigits = 5;  // the range fields hold five digits

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

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
    : programDir_(programDir), path_(PathInAnyCase(programDir, kSettingsFileName)) {}

bool Settings::Load(Workspace& ws) {
  if (settingsLoaded) return false;
  settingsLoaded = true;
  path_ = PathInAnyCase(programDir_, kSettingsFileName);
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    ws.prompts.Information(
        "Не удалось открыть файл ZELBase.ini\rвсе установки программы будут приведены в "
        "исходные.");
  }
  ini_.Load(path_);  // anything unreadable reads as defaults
  if (const std::string notes = MovedFolderNotes(ws); !notes.empty()) {
    ws.prompts.Information(notes);
  }
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

std::string Settings::MovedFolderNotes(const Workspace& ws) const {
  std::vector<std::string> notes;
  auto add = [&notes](std::string note) {
    if (!note.empty()) notes.push_back(std::move(note));
  };
  add(CaseClashNote(programDir_, kSettingsFileName));
  add(CaseClashNote(programDir_, kBaseFolderName));
  for (int n = 1; n <= kChannelCount; ++n) add(CaseClashNote(ws.folder.Dir(), BaseFileName(n)));
  if (ini_.ReadAsUtf8()) {
    add("Файл настроек " + path_.filename().string() +
        " записан в кодировке UTF-8; программа сохранит его в кодировке Windows-1251.");
  }
  bool anyPathKey = false;
  for (int i = 0; i < kComPorts; ++i)
    anyPathKey |= ini_.Find(kComSection, ComPathKey(i)).has_value();
  int chosen = -1;
  for (int i = 0; i < kComPorts; ++i) {
    if (ini_.ReadBool(kComSection, ComKey(i), i == 0 || i == 4)) chosen = i;
  }
  std::error_code ec;
  if (!anyPathKey && chosen >= 0 && std::filesystem::exists(path_, ec)) {
    std::string note = "Порт COM" + std::to_string(chosen + 1) + " открывается как " +
                       DefaultComPaths()[chosen] +
                       ". Устройство порта можно изменить в окне \"Инициализация "
                       "последовательного порта\" (\"Действия\" / \"Настройка "
                       "последовательного интерфейса\").";
    const std::vector<std::string> adapters = SerialAdapterPaths();
    if (!adapters.empty()) note += "\rНайдены USB-адаптеры:";
    for (const std::string& a : adapters) note += "\r" + a;
    add(std::move(note));
  }
  std::string text;
  for (const std::string& n : notes) text += (text.empty() ? "" : "\r\r") + n;
  return text;
}

std::string Settings::ReadNumber(Workspace& ws, std::string_view section, std::string_view key,
                                 std::string_view fallback, std::size_t width,
                                 const char* message) const {
  std::string text = ini_.ReadString(section, key, fallback);
  if (text.size() <= width || !AllDigits(text))
    return text;  // a non-digit is the check's to report
  const std::size_t zeros = std::min(text.find_first_not_of('0'), text.size() - width);
  text.erase(0, zeros);
  if (text.size() <= width) return text;
  if (message) {
    ws.prompts.Message(message);
    return std::string(fallback);
  }
  return text;  // a range the device cannot hold: the range check reports it
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
  ch.zhrmNumber = ReadNumber(ws, section, "ЖРМ", ZeroPadded(n, 4), 4, kBadZhrmNumber);
  ch.deviceType = ini_.ReadString(section, "Верс", kTypeZhrm15);
  ch.kkmNumber = ReadNumber(ws, section, "ККМ", ZeroPadded(n, 8), 8, kBadKkmNumber);
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
  ws.device.zhrmNumber = ReadNumber(ws, kActiveSection, "ЖРМ", "0001", 4, kBadZhrmNumber);
  ws.device.kkmNumber = ReadNumber(ws, kActiveSection, "ККМ", "00000001", 8, kBadKkmNumber);
  ws.device.typeText = ini_.ReadString(kActiveSection, "Верс", kTypeZhrm15);
  ws.range.SetStartText(ReadNumber(ws, kRangeSection, "begin", "0001", kRangeDigits, nullptr));
  ws.range.SetEndText(ReadNumber(ws, kRangeSection, "end", "4096", kRangeDigits, nullptr));
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
