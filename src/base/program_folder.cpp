#include "base/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "base/any_case_name.h"
#include "base/base_file.h"

namespace zel {

std::filesystem::path XdgDataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "share";
}

std::filesystem::path UserProgramFolder() {
  return XdgDataHome() / "ZELBase";
}

bool MakeProgramFolder(const std::filesystem::path& dir, std::string& error) {
  const std::filesystem::path base = PathInAnyCase(dir, kBaseFolderName);
  std::error_code ec;
  std::filesystem::create_directories(base, ec);
  if (!ec) return true;
  error = "cannot create " + base.string() + ": " + ec.message();
  return false;
}

std::filesystem::path InstalledBinFolder() {
  return ZEL_INSTALL_BINDIR;
}

std::filesystem::path DefaultProgramFolder(const std::filesystem::path& exeDir) {
  // Root may write /usr/bin, but settings and bases never belong there.
  std::error_code ec;
  if (std::filesystem::equivalent(exeDir, InstalledBinFolder(), ec)) return UserProgramFolder();
  if (::access(exeDir.c_str(), W_OK | X_OK) == 0) return exeDir;
  return UserProgramFolder();
}

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path(ec) : exe.parent_path();
}

std::filesystem::path HelpFile(const std::filesystem::path& programDir,
                               const std::filesystem::path& exeDir) {
  std::error_code ec;
  for (const std::filesystem::path& file :
       {programDir / "Help" / "ZELBase.html",
        exeDir.parent_path() / "share" / "zelbase" / "Help" / "ZELBase.html"}) {
    if (std::filesystem::is_regular_file(file, ec)) return file;
  }
  return {};
}

}  // namespace zel
