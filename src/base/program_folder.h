// Where the program keeps ZELBase.ini and Base/ when no folder is given:
// beside the executable for a build from a checkout, under the user's data
// folder for an installed program whose executable folder is read-only.
#pragma once

#include <filesystem>
#include <string>

namespace zel {

/// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path XdgDataHome();

/// $XDG_DATA_HOME/ZELBase: the folder of an installed program.
std::filesystem::path UserProgramFolder();

/// The folder `cmake --install` puts the executables in (/usr/bin for the package).
std::filesystem::path InstalledBinFolder();

/// The executable's folder when the user may write there and it is not the
/// folder the program is installed to, else UserProgramFolder().
std::filesystem::path DefaultProgramFolder(const std::filesystem::path& exeDir);

/// Creates `dir` and its Base folder when missing; a Base folder in other
/// letter case (copied from Windows) counts as present. False with `error`
/// ("cannot create PATH: reason") on failure.
bool MakeProgramFolder(const std::filesystem::path& dir, std::string& error);

/// The folder of the running executable (/proc/self/exe), or the current one.
std::filesystem::path ExecutableFolder();

/// The help page: Help/ZELBase.html in the program folder, else the one an
/// installed package puts in share/zelbase/Help beside bin/; empty when neither exists.
std::filesystem::path HelpFile(const std::filesystem::path& programDir,
                               const std::filesystem::path& exeDir);

}  // namespace zel
