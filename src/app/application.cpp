#include "app/application.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_core.h"
#include "app/program_run.h"
#include "app/qt_prompts.h"
#include "app/qt_translation.h"
#include "base/program_folder.h"
#include "link/clock.h"
#include "link/spy_port.h"
#include "server/member_table.h"
#include "server/registration.h"
#include "sim/demo/demo_network.h"
#include "sim/demo/demo_setup.h"
#include "sim/simulated_line.h"

namespace zel {
namespace {

// Exit code of a command line we cannot run.
constexpr int kUsageExit = 2;

// Answers what needs no window: --help, bad arguments, automation switches.
// Returns the exit code, or -1 to go on.
int EarlyExit(const std::vector<std::string>& args, const CommandLine& cl) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (!cl.error.empty()) {
    std::fprintf(stderr, "zelbase: %s\n%s", cl.error.c_str(), UsageText().c_str());
    return kUsageExit;
  }
  return -1;
}

// A display Qt can open, so a box can be shown there.
bool DisplayExists() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.startsWith("offscreen") || platform.startsWith("minimal")) return false;
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// A failure before any window exists: on stderr, and in a box when there
// is a display to show it on.
void ReportStartFailure(int argc, char** argv, const std::string& message) {
  std::fprintf(stderr, "zelbase: %s\n", message.c_str());
  if (!DisplayExists()) return;
  int count = argc;  // Qt keeps a reference to it
  QApplication app(count, argv);
  QtPrompts().Error(message);
}

bool PrepareFolder(const std::filesystem::path& dir, bool demo) {
  if (demo) {
    std::string error;
    if (PrepareDemoFolder(dir, error)) return true;
    std::fprintf(stderr, "zelbase: %s\n", error.c_str());
    return false;
  }
  std::string error;
  if (MakeProgramFolder(dir, error)) return true;
  std::fprintf(stderr, "zelbase: %s\n", error.c_str());
  return false;
}

}  // namespace

std::filesystem::path DemoFolder() {
  return DemoDataFolder();
}

std::filesystem::path ProgramFolder(const CommandLine& cl, const std::filesystem::path& exeDir) {
  if (!cl.dataDir.empty()) return std::filesystem::absolute(cl.dataDir);
  if (cl.demo) return DemoFolder();
  return DefaultProgramFolder(exeDir);
}

PortOpener MakePortOpener(const CommandLine& cl, std::shared_ptr<BytePort> simLine,
                          std::shared_ptr<TraceLog> trace) {
  if (cl.demo) {
    return [simLine, trace](const std::string& path) -> std::shared_ptr<BytePort> {
      if (!trace) return simLine;
      return std::make_shared<SpyPort>(simLine, trace, path);
    };
  }
  return DefaultPortOpener(std::move(simLine), std::move(trace));
}

namespace {

ServerStartMode StartMode(AutomationSwitch s) {
  switch (s) {
    case AutomationSwitch::RegServer:
      return ServerStartMode::Register;
    case AutomationSwitch::UnregServer:
      return ServerStartMode::Unregister;
    case AutomationSwitch::Automation:
    case AutomationSwitch::Embedding:
      return ServerStartMode::Automation;
    case AutomationSwitch::None:
      break;
  }
  return ServerStartMode::Normal;
}

int RunWindows(AppCore& core, QtPrompts& prompts, ServerStartMode mode, bool demo) {
  ProgramRun run(core, prompts, mode, demo);
  if (!run.Start(QDBusConnection::sessionBus(),
                 QString::fromUtf8(kServiceName.data(), kServiceName.size()))) {
    return 1;
  }
  return QApplication::exec();
}

}  // namespace

int RunApplication(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CommandLine cl = ParseCommandLine(args);
  if (const int code = EarlyExit(args, cl); code >= 0) return code;
  const ServerStartMode mode = StartMode(cl.automation);
  const RegistrationRequest registration{mode, std::filesystem::read_symlink("/proc/self/exe"),
                                         cl.dataDir, cl.demo};
  if (auto code = RunRegistration(registration, [argc, argv](const std::string& m) {
        ReportStartFailure(argc, argv, m);
      })) {
    return *code;
  }
  std::shared_ptr<TraceLog> trace;
  if (!cl.traceFile.empty()) {
    std::string problem;
    trace = TraceLog::OpenFile(cl.traceFile, &problem);
    if (!trace) {
      std::fprintf(stderr, "zelbase: %s\n", problem.c_str());
      return kUsageExit;
    }
  }

  QApplication app(argc, argv);
  if (!InstallQtRussian(app))
    std::fprintf(stderr, "zelbase: qtbase_ru.qm not found, Qt's own texts stay English\n");
  QIcon icon(QStringLiteral(":/icons/zelbase-256.png"));
  icon.addFile(QStringLiteral(":/icons/zelbase-48.png"));
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("ru.zel.ZELBase"));
  const std::filesystem::path folder =
      ProgramFolder(cl, QCoreApplication::applicationDirPath().toStdString());
  if (!PrepareFolder(folder, cl.demo)) return 1;

  SteadyClock clock;
  auto simLine = std::make_shared<SimulatedLine>(clock);
  SeedDemoNetwork(*simLine);
  QtPrompts prompts;
  AppCore core(folder, prompts, MakePortOpener(cl, simLine, trace));
  const int code = RunWindows(core, prompts, mode, cl.demo);
  core.port.ResetPort();  // after a loop that was still running at close
  return code;
}

}  // namespace zel
