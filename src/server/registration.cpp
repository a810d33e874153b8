#include "server/registration.h"

#include <system_error>

#include "base/atomic_file.h"
#include "base/program_folder.h"
#include "server/member_table.h"

namespace fs = std::filesystem;

namespace zel {
namespace {

constexpr mode_t kFileMode = 0644;

// One word of the Exec line, quoted for the bus's shell-like splitting
// when it holds anything but plain path characters.
std::string ExecWord(const std::string& word) {
  constexpr std::string_view kPlain =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_/.,:+=@-";
  if (!word.empty() && word.find_first_not_of(kPlain) == std::string::npos) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool WriteText(const fs::path& path, const std::string& text, std::string& error) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  if (ec) {
    error = "cannot create " + path.parent_path().string() + ": " + ec.message();
    return false;
  }
  return ReplaceFileAtomically(
      path, kFileMode,
      [&text](int fd) {
        return PWriteAll(fd, reinterpret_cast<const uint8_t*>(text.data()), text.size(), 0);
      },
      error);
}

bool RemoveFile(const fs::path& path, std::string& error) {
  std::error_code ec;
  fs::remove(path, ec);
  if (!ec) return true;
  error = "cannot remove " + path.string() + ": " + ec.message();
  return false;
}

std::string ModeVerb(ServerStartMode mode) {
  return mode == ServerStartMode::Unregister ? "unregistered" : "registered";
}

}  // namespace

fs::path ServiceFilePath(const fs::path& dataHome) {
  return dataHome / "dbus-1" / "services" / (std::string(kServiceName) + ".service");
}

fs::path InterfaceFilePath(const fs::path& dataHome) {
  return dataHome / "dbus-1" / "interfaces" / (std::string(kInterfaceName) + ".xml");
}

std::string ServiceFileText(const RegistrationRequest& request) {
  std::string exec = ExecWord(fs::absolute(request.executable).lexically_normal().string());
  if (!request.dataDir.empty()) {
    exec += " --data-dir " + ExecWord(fs::absolute(request.dataDir).lexically_normal().string());
  }
  if (request.demo) exec += " --demo";
  exec += " /AUTOMATION";
  return "[D-BUS Service]\nName=" + std::string(kServiceName) + "\nExec=" + exec + "\n";
}

bool WriteRegistration(const RegistrationRequest& request, const fs::path& dataHome,
                       std::string& error) {
  return WriteText(ServiceFilePath(dataHome), ServiceFileText(request), error) &&
         WriteText(InterfaceFilePath(dataHome), IntrospectionXml(), error);
}

bool RemoveRegistration(const fs::path& dataHome, std::string& error) {
  return RemoveFile(ServiceFilePath(dataHome), error) &&
         RemoveFile(InterfaceFilePath(dataHome), error);
}

std::optional<int> RunRegistration(const RegistrationRequest& request,
                                   const std::function<void(const std::string&)>& report) {
  const fs::path home = XdgDataHome();
  std::string error;
  const bool ok = request.mode == ServerStartMode::Unregister
                      ? RemoveRegistration(home, error)
                      : WriteRegistration(request, home, error);
  if (!ok) {
    report("The automation server could not be " + ModeVerb(request.mode) + ": " + error);
    return 1;
  }
  if (request.mode == ServerStartMode::Register || request.mode == ServerStartMode::Unregister) {
    return 0;
  }
  return std::nullopt;
}

}  // namespace zel
