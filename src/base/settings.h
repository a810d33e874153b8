// The settings file "ZELBase.ini" in the program folder: read once when the
// main window is first activated, saved in part when the device-network
// dialog closes and in full at exit (`SavePos`). Every save re-reads the
// file, sets its keys and replaces the file in one step, so keys written by
// hand or by others survive and a failed save leaves the old file intact.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "base/ini_file.h"
#include "base/workspace.h"

namespace zel {

inline constexpr const char* kSettingsFileName = "ZELBase.ini";
inline constexpr const char* kComSection = "Настройка Com-порта";
inline constexpr const char* kGeneralSection = "Общие";
inline constexpr const char* kActiveSection = "Активный ЖРМ";
inline constexpr const char* kRangeSection = "Диапазон базы";

/// "ЖРМ N конт" for channel 1..16.
std::string ChannelSection(int n);

class Settings {
 public:
  explicit Settings(const std::filesystem::path& programDir);

  /// The settings file, found in any letter case (a folder copied from Windows).
  const std::filesystem::path& Path() const { return path_; }
  /// Set by the first load; later activations skip it.
  bool settingsLoaded = false;

  /// The start-up load: port choice and opening, missing base files,
  /// channels, options, range, then `SelectZhrm`. False when it ran before.
  bool Load(Workspace& ws);

  /// The device-network dialog closed: active device, channels, front page.
  /// False after "Unable to write to <file>" was shown.
  bool SavePartial(Workspace& ws);

  /// Everything, at exit and for the automation server. False after
  /// "Unable to write to <file>" was shown; closing goes on regardless.
  bool SavePos(Workspace& ws);

 private:
  void LoadPort(Workspace& ws) const;
  /// What a folder copied from Windows needs said once: names that differ
  /// only in case, a UTF-8 settings file, COM ports without device paths.
  std::string MovedFolderNotes(const Workspace& ws) const;
  /// A number field's text: extra leading zeros beyond `width` dropped, so
  /// the field shows what is used; a longer number gives `message` and `fallback`.
  std::string ReadNumber(Workspace& ws, std::string_view section, std::string_view key,
                         std::string_view fallback, std::size_t width, const char* message) const;
  void CreateMissingBases(Workspace& ws) const;
  void LoadChannel(Workspace& ws, int n) const;
  void LoadMainWindow(Workspace& ws) const;
  bool Save(Workspace& ws, const std::function<void(IniFile&)>& write);

  std::filesystem::path programDir_;
  std::filesystem::path path_;
  IniFile ini_;
};

}  // namespace zel
