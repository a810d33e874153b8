// Registration with the session bus: the activation file that lets the bus
// start the program for a client, and the interface description beside it.
// /REGSERVER writes both, /UNREGSERVER removes them, every other start
// refreshes them; a failure ends the start with a message.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace zel {

/// How the program was started, from its automation switch.
enum class ServerStartMode { Normal, Register, Unregister, Automation };

struct RegistrationRequest {
  ServerStartMode mode = ServerStartMode::Normal;
  /// The program; made absolute for the activation file.
  std::filesystem::path executable;
  /// --data-dir when one was given, else empty.
  std::filesystem::path dataDir;
  /// --demo was given: the activated program runs on the virtual line too.
  bool demo = false;
};

/// <dataHome>/dbus-1/services/Zhrm.Server.service
std::filesystem::path ServiceFilePath(const std::filesystem::path& dataHome);
/// <dataHome>/dbus-1/interfaces/Zhrm.IServer.xml
std::filesystem::path InterfaceFilePath(const std::filesystem::path& dataHome);

/// The activation file: the name and an absolute Exec line ending in
/// " /AUTOMATION", with --data-dir and --demo when the request has them.
std::string ServiceFileText(const RegistrationRequest& request);

/// Writes both files (folders created as needed). False with `error`.
bool WriteRegistration(const RegistrationRequest& request, const std::filesystem::path& dataHome,
                       std::string& error);
/// Removes both files; files already gone are fine. False with `error`.
bool RemoveRegistration(const std::filesystem::path& dataHome, std::string& error);

/// The registration step of every start, under XdgDataHome(). Returns the
/// exit code when the program ends here (after registering, unregistering
/// or a failure, which is passed to `report`), nullopt to go on starting.
std::optional<int> RunRegistration(const RegistrationRequest& request,
                                   const std::function<void(const std::string&)>& report);

}  // namespace zel
