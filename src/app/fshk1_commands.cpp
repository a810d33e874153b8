// What each command of the main window runs. Commands whose operations are
// not part of the program yet do nothing here; their operations plug in at
// their case of Run.
#include <QAction>
#include <QToolBar>

#include "app/about_box.h"
#include "app/fshk1.h"
#include "app/help_viewer.h"
#include "app/init_comm.h"
#include "app/operation_windows.h"
#include "app/product_grid.h"
#include "app/status_panel.h"
#include "app/window_placement.h"
#include "app/zhrm_select.h"
#include "base/active_device.h"
#include "base/device_types.h"
#include "operations/operations.h"

namespace zel {

void TFSHK1::Run(Command command) {
  switch (command) {
    case Command::PortSettings:
      PortDialog();
      return;
    case Command::HelpContents:
      HelpContents();
      return;
    case Command::Exit:
      ExitCommand();
      return;
    case Command::About:
      if (dialogs_.about) dialogs_.about->exec();
      return;
    case Command::TapeReminder:
      ToggleTapeReminder();
      return;
    case Command::ReadBase:
      status_->SetIdleHint({});  // the first read answers the new user's question
      return RunOperation(&ReadActiveBase);
    case Command::WriteBase:
      return RunOperation(&WriteActiveBase);
    case Command::ResetAccounting:
      return RunOperation(&ResetAccounting);
    case Command::ReadAccounting:
      return RunOperation([](Workspace& ws) { ReadAccounting(ws); });
    case Command::ClearTable:
      return RunOperation(&ClearTable);
    case Command::BarcodeEntry:
      if (barcode_) barcode_->Request();
      return;
    case Command::Export:
      return ExportCommand();
    case Command::Import:
      return ImportCommand();
    case Command::SaveTapeBlocks:
      return SaveTapeBlocks();
    case Command::SaveTape:
      return SaveTape();
    case Command::RestoreBase:
      return RestoreCommand();
    case Command::ReadTapeBlocks:
    case Command::ReadTape:
    case Command::ClearTapeBlock:
      return TapeCommand(command);
  }
}

void TFSHK1::ExitCommand() {
  toolbar_->repaint();
  if (!core_.prompts.AskYesNo("Выйти из программы ?")) return;
  CloseSteps();
  close();
}

void TFSHK1::PortDialog() {
  TInit_Comm* dialog = dialogs_.initComm;
  if (!dialog) return;
  dialog->PrepareForType(ws_.device.typeText);
  dialog->adjustSize();
  CentreOnScreen(*dialog);
  dialog->exec();
  if (const DeviceType* type = DeviceTypeTable::Find(ws_.device.typeText)) {
    core_.port.ApplyLineProfile(type->family, ProfileContext::DialogClosed);
  }
  dialog->Refresh();  // the profile may have reset the speed text
}

void TFSHK1::SelectBase() {
  if (!dialogs_.zhrmSelect) return;
  dialogs_.zhrmSelect->exec();
  SelectZhrm(ws_);
  RefreshFromModel();
}

void TFSHK1::HelpContents() {
  toolbar_->repaint();
  if (!help_) help_ = new HelpViewer(this);
  help_->ShowTopic(HelpUrl(core_.programDir), QStringLiteral("Cont"));
}

void TFSHK1::ToggleTapeReminder() {
  ws_.options.reminderMenuTicked = !ws_.options.reminderMenuTicked;
  menuActions_.at(Command::TapeReminder)->setChecked(ws_.options.reminderMenuTicked);
}

}  // namespace zel
