#include "app/program_run.h"

#include <QApplication>
#include <QPushButton>
#include <cstdio>

#include "app/fshk1.h"
#include "app/status_panel.h"
#include "server/server_codes.h"
#include "server/server_host.h"

namespace zel {
namespace {

// The demo opens on empty local bases: say how to fill the table.
const QString kFirstReadHint = QStringLiteral(
    "Таблица пуста до первого чтения: «Действия» / «Чтение активной базы» (первая кнопка "
    "панели).");

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

ProgramRun::ProgramRun(AppCore& core, QtPrompts& prompts, ServerStartMode mode, bool demo)
    : core_(core),
      prompts_(prompts),
      automation_(mode == ServerStartMode::Automation),
      windows_(core) {
  TFSHK1* main = windows_.FSHK1();
  if (demo) MarkDemo(*main);
  // Qt would end the program when any last window closes, a box among them
  // while the main window is hidden; the program's own ends are these.
  QApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(main, &TFSHK1::closed, qApp, &QCoreApplication::quit);
  host_ = std::make_unique<ServerHost>(core.ws, main->Tapes(), *main, core.settings, automation_);
  QObject::connect(host_.get(), &ServerHost::quitRequested, qApp, &QCoreApplication::quit);
  main->confirmEndWithClients = [this, main] {
    return !host_->HasClients() || ConfirmEndWithClients(main);
  };
  prompts_.watched = [main] { return HasScreen() && main->isVisible(); };
}

ProgramRun::~ProgramRun() {
  prompts_.watched = nullptr;
  Main().confirmEndWithClients = nullptr;
}

TFSHK1& ProgramRun::Main() const {
  return *windows_.FSHK1();
}

bool ProgramRun::Start(const QDBusConnection& bus, const QString& serviceName) {
  Main().show();
  {
    // In automation mode the load is done for the client that started the
    // program: nobody may be there to answer its boxes.
    std::unique_ptr<ClientPromptScope> forClient;
    if (automation_) forClient = std::make_unique<ClientPromptScope>(prompts_);
    Main().FormActivate();
  }
  std::string error;
  if (host_->Start(bus, serviceName, error)) return true;
  std::fprintf(stderr, "zelbase: automation server: %s\n", error.c_str());
  return !automation_;
}

}  // namespace zel
