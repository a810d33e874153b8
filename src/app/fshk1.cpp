#include "app/fshk1.h"
#include "app/operation_windows.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include "app/help_viewer.h"
#include "app/product_grid.h"
#include "app/status_panel.h"
#include "app/tovar_number_form.h"
#include "base/base_ops.h"

namespace zel {
namespace {

void SetTextIfDifferent(QLineEdit* edit, const std::string& text) {
  const QString q = QString::fromStdString(text);
  if (edit->text() != q) edit->setText(q);
}

}  // namespace

TFSHK1::TFSHK1(AppCore& core, QWidget* parent) : QMainWindow(parent), core_(core), ws_(core.ws) {
  setWindowTitle(QStringLiteral("Менеджер удаленных баз товаров"));
  FormCreate();
  PlaceOnScreen();
  ConnectModel();
  core_.progress.SetTarget(status_);
  RefreshFromModel();
}

TFSHK1::~TFSHK1() {
  core_.progress.SetTarget(nullptr);
  ws_.controls.onChanged = nullptr;
  ws_.device.onChanged = nullptr;
}

void TFSHK1::ConnectModel() {
  ws_.controls.onChanged = [this] { RefreshControls(); };
  ws_.device.onChanged = [this] { RefreshDevice(); };
  status_->onStop = [this] { ws_.run.stopRequested = true; };
  connect(edit11_, &QLineEdit::textEdited, this,
          [this](const QString& text) { ws_.range.SetStartText(text.toStdString()); });
  connect(edit12_, &QLineEdit::textEdited, this,
          [this](const QString& text) { ws_.range.SetEndText(text.toStdString()); });
  connect(edit11_, &QLineEdit::returnPressed, this, [this] { Button3Click(); });
  connect(edit12_, &QLineEdit::returnPressed, this, [this] { Button3Click(); });
  connect(button3_, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(button1_, &QPushButton::clicked, this, [this] { SelectBase(); });
  connect(blockKkm_, &QCheckBox::clicked, this, [this](bool on) { ws_.options.blockKkm = on; });
  connect(grid_, &ProductGrid::ctrlDigit, this, [this](int digit) { OnCtrlDigit(digit); });
  connect(grid_, &ProductGrid::ctrlReleased, this, [this] { OnCtrlReleased(); });
}

void TFSHK1::RefreshFromModel() {
  RefreshControls();
  RefreshDevice();
}

void TFSHK1::RefreshControls() {
  const ControlState& c = ws_.controls;
  toolbar_->setEnabled(c.toolbarEnabled);
  for (std::size_t i = 0; i < menus_.size(); ++i) {
    if (MenuTable()[i].followsOperations) menus_[i]->menuAction()->setEnabled(c.menusEnabled);
  }
  rangePanel_->setEnabled(c.rangePanelEnabled);
  button3_->setEnabled(c.confirmRangeEnabled);
  button1_->setEnabled(c.selectBaseEnabled);
  grid_->setEnabled(c.tableEnabled);
  SetTextIfDifferent(edit11_, ws_.range.StartText());
  SetTextIfDifferent(edit12_, ws_.range.EndText());
}

void TFSHK1::RefreshDevice() {
  const ActiveDevice& d = ws_.device;
  SetTextIfDifferent(typeField_, d.typeText);
  SetTextIfDifferent(zhrmField_, d.zhrmNumber);
  SetTextIfDifferent(kkmField_, d.kkmNumber);
  zhrmLabel_->setVisible(d.zhrmNumberShown);
  zhrmField_->setVisible(d.zhrmNumberShown);
  kkmLabel_->setVisible(d.kkmNumberShown);
  kkmField_->setVisible(d.kkmNumberShown);
  blockKkm_->setVisible(d.blockKkmShown);
  blockKkm_->setChecked(ws_.options.blockKkm);
  pages_->setTabVisible(1, d.controlTapesOn);
  pages_->setTabVisible(2, d.controlTapesOn);
  for (const CommandInfo& info : CommandTable()) {
    if (info.controlTapes) menuActions_.at(info.command)->setEnabled(d.controlTapesOn);
  }
  menuActions_.at(Command::TapeReminder)->setChecked(ws_.options.reminderMenuTicked);
}

void TFSHK1::FormActivate() {
  if (!core_.settings.Load(ws_)) return;
  RefreshFromModel();
  grid_->ShowCurrentCell();
  grid_->SetArmed(true);
  if (pages_->currentWidget() == grid_) grid_->setFocus();
}

void TFSHK1::Button3Click() {
  ConfirmRange(ws_);
  RefreshFromModel();
}

QPoint TFSHK1::TovarNumberPosition() const {
  return {x() + grid_->mapTo(this, QPoint(0, 0)).x(),
          y() + status_->mapTo(this, QPoint(0, 0)).y() + 24};
}

void TFSHK1::OnCtrlDigit(int digit) {
  const bool wasShown = ws_.numberEntry.PopupVisible();
  const std::optional<int> row =
      ws_.numberEntry.CtrlDigit(digit, ws_.range.CurrentRecord, ws_.range.LastRecord);
  TTovarNumberForm* popup = dialogs_.tovarNumber;
  if (popup) {
    if (!wasShown || !popup->isVisible()) {
      popup->move(TovarNumberPosition());
      popup->show();
    }
    popup->SetText(ws_.numberEntry.PopupText());
  }
  grid_->setFocus();
  if (row) grid_->GoToRow(*row);
}

void TFSHK1::OnCtrlReleased() {
  ws_.numberEntry.CtrlReleased();
  if (dialogs_.tovarNumber) dialogs_.tovarNumber->hide();
}

void TFSHK1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A window manager may never activate the window (or there is none):
  // the first show is what starts the settings load.
  if (activationQueued_) return;
  activationQueued_ = true;
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TFSHK1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && activationQueued_) {
    FormActivate();
  }
}

void TFSHK1::closeEvent(QCloseEvent* event) {
  if (!closeStepsDone_) CloseSteps();
  if (confirmEndWithClients && !confirmEndWithClients()) {
    // The program goes on serving its clients, so it needs its port back.
    event->ignore();
    closeStepsDone_ = false;
    ws_.run.stopRequested = false;
    if (!core_.link.PortValid()) core_.port.ReopenWithProfile();
    return;
  }
  if (dialogs_.tovarNumber) dialogs_.tovarNumber->hide();
  if (help_) help_->hide();
  event->accept();
  emit closed();
}

void TFSHK1::ShowServerPanel(bool shown) {
  serverPanel_->setVisible(shown);
}

void TFSHK1::SetServerProgress(int value) {
  serverPacer_->Notify([this, value] { serverProgress_->setValue(value); });
}

void TFSHK1::CloseSteps() {
  closeStepsDone_ = true;
  ws_.run.stopRequested = true;
  core_.settings.SavePos(ws_);
  // A running loop still uses the port until its next stop test; the
  // program releases it once that loop has returned.
  if (ws_.run.exchangeState == ExchangeState::Idle) core_.port.ResetPort();
}

}  // namespace zel
