#include "app/application.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_core.h"
#include "app/app_windows.h"
#include "app/fshk1.h"
#include "app/qt_prompts.h"
#include "app/qt_translation.h"
#include "app/status_panel.h"
#include "base/program_folder.h"
#include "link/clock.h"
#include "link/spy_port.h"
#include "server/registration.h"
#include "server/server_codes.h"
#include "server/server_host.h"
#include "sim/demo/demo_network.h"
#include "sim/demo/demo_setup.h"
#include "sim/simulated_line.h"

namespace zel {
namespace {

// The demo opens on empty local bases: say how to fill the table.
const QString kFirstReadHint = QStringLiteral(
    "Таблица пуста до первого чтения: «Действия» / «Чтение активной базы» (первая кнопка "
    "панели).");

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

bool PrepareFolder(const std::filesystem::path& dir, bool demo) {
  if (demo) {
    std::string error;
    if (PrepareDemoFolder(dir, error)) return true;
    std::fprintf(stderr, "zelbase: %s\n", error.c_str());
    return false;
  }
  std::error_code ec;
  std::filesystem::create_directories(dir / "Base", ec);
  if (!ec) return true;
  std::fprintf(stderr, "zelbase: cannot create %s: %s\n", (dir / "Base").c_str(),
               ec.message().c_str());
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

// "COM Server Warning": task-modal, Yes/No, No the default.
bool ConfirmEndWithClients(QWidget* parent) {
  QMessageBox box(
      QMessageBox::Warning,
      QString::fromUtf8(kComServerWarningCaption.data(), kComServerWarningCaption.size()),
      QString::fromUtf8(kComServerWarningText.data(), kComServerWarningText.size()),
      QMessageBox::Yes | QMessageBox::No, parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.setDefaultButton(QMessageBox::No);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&Нет"));
  return box.exec() == QMessageBox::Yes;
}

}  // namespace

void MarkDemo(TFSHK1& main) {
  main.setWindowTitle(main.windowTitle() + QStringLiteral(" — виртуальная линия"));
  main.Status()->SetIdleHint(kFirstReadHint);
}

namespace {

int RunWindows(QApplication& app, AppCore& core, ServerStartMode mode, bool demo) {
  AppWindows windows(core);
  TFSHK1* main = windows.FSHK1();
  if (demo) MarkDemo(*main);
  QObject::connect(main, &TFSHK1::closed, &app, &QCoreApplication::quit);
  const bool automation = mode == ServerStartMode::Automation;
  ServerHost host(core.ws, main->Tapes(), *main, core.settings, automation);
  std::string error;
  if (!host.Start(error)) {
    std::fprintf(stderr, "zelbase: automation server: %s\n", error.c_str());
    if (automation) return 1;
  }
  QObject::connect(&host, &ServerHost::quitRequested, &app, &QCoreApplication::quit);
  main->confirmEndWithClients = [&host, main] {
    return !host.HasClients() || ConfirmEndWithClients(main);
  };
  // A client starts the program without a window; its settings, port and
  // base files are still loaded once, as the window's first activation does.
  if (automation)
    main->FormActivate();
  else
    main->show();
  const int code = QApplication::exec();
  main->confirmEndWithClients = nullptr;
  return code;
}

}  // namespace

int RunApplication(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CommandLine cl = ParseCommandLine(args);
  if (const int code = EarlyExit(args, cl); code >= 0) return code;
  const ServerStartMode mode = StartMode(cl.automation);
  const RegistrationRequest registration{mode, std::filesystem::read_symlink("/proc/self/exe"),
                                         cl.dataDir};
  if (auto code = RunRegistration(registration, [](const std::string& m) {
        std::fprintf(stderr, "zelbase: %s\n", m.c_str());
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
  const int code = RunWindows(app, core, mode, cl.demo);
  core.port.ResetPort();  // after a loop that was still running at close
  return code;
}

}  // namespace zel
