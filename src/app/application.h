// Program entry: command line, program folder, port, windows, event loop.
#pragma once

#include <filesystem>
#include <memory>

#include "app/command_line.h"
#include "link/byte_port.h"
#include "link/port_setup.h"
#include "link/spy_port.h"

namespace zel {

class TFSHK1;

/// The program folder: --data-dir when given, else the demo folder in demo
/// mode, else `exeDir` when the user may write there, else $XDG_DATA_HOME/ZELBase.
std::filesystem::path ProgramFolder(const CommandLine& cl, const std::filesystem::path& exeDir);

/// The demo's own folder: $XDG_DATA_HOME/ZELBase/demo (or ~/.local/share/...).
std::filesystem::path DemoFolder();

/// How COM choices become ports: in demo mode every choice is the built-in
/// virtual line, otherwise "sim" is, "rfc2217://HOST:PORT" is a network
/// serial server and anything else is a tty. With `trace`, every port's
/// traffic is traced into it.
PortOpener MakePortOpener(const CommandLine& cl, std::shared_ptr<BytePort> simLine,
                          std::shared_ptr<TraceLog> trace = nullptr);

/// The title and the first-read hint of a window on the virtual line.
void MarkDemo(TFSHK1& main);

/// Runs the program; the exit code.
int RunApplication(int argc, char** argv);

}  // namespace zel
