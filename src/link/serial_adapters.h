// The USB serial adapters plugged in now, by the stable names udev gives
// them: /dev/ttyUSB0 may become ttyUSB1 after a replug, these do not.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zel {

/// The entries of `byId` (normally /dev/serial/by-id), sorted; empty when
/// there is none or the folder is missing.
std::vector<std::string> SerialAdapterPaths(
    const std::filesystem::path& byId = "/dev/serial/by-id");

}  // namespace zel
