// Where `--demo` keeps its settings and base files, and the settings that
// name the demo network's channels. Shared by the window program and the
// command line, so both open the same demo folder the same way.
#pragma once

#include <filesystem>
#include <string>

#include "base/ini_file.h"

namespace zel {

/// Products each demo device holds; the demo settings' range ends here.
inline constexpr int kDemoRangeEnd = 300;

/// $XDG_DATA_HOME/ZELBase/demo, or ~/.local/share/ZELBase/demo when
/// XDG_DATA_HOME is unset or empty (the current folder without HOME).
std::filesystem::path DemoDataFolder();

/// The settings of the demo network: every COM path "sim", COM1 chosen, the
/// ЖРМ 3 family at the demo speed, the seven demo channels switched on
/// (channel 1 active), the others off, range 1..kDemoRangeEnd.
IniFile DemoSettings();

/// Creates `folder` and its "Base" folder when missing and writes
/// DemoSettings() as "ZELBase.ini" unless the folder already has one (an
/// operator's changes to it are kept). False with `error` set on failure.
bool PrepareDemoFolder(const std::filesystem::path& folder, std::string& error);

}  // namespace zel
