// The device, file and control-tape commands of the main window: each one
// forwards to its operation and then shows the workspace again.
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableWidget>

#include "app/fshk1.h"
#include "app/operation_windows.h"
#include "app/restore_dialog.h"
#include "exchange/export_run.h"
#include "exchange/import_run.h"
#include "exchange/tape_save.h"

namespace zel {
namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// The position of the chosen type in the dialog's own list. Labels are not
// compared with ours: the dialog keeps them with their double blanks collapsed.
int ChosenFilter(const QFileDialog& dialog) {
  if (const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
    return std::max(0, types->currentIndex());
  return std::max(0, static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
}

// Shows `state` as a file dialog; false when it was cancelled. A missing file
// to open is left to the operation, which reports it; the question before
// replacing a file is about the name the type's extension completes, so it is
// asked here rather than by the dialog about the name as typed.
bool ChooseFile(QWidget* parent, const FileDialogState& state, bool save, Prompts& prompts,
                std::string& name, int& filterIndex) {
  QFileDialog dialog(parent, Q(state.caption));
  QStringList filters;
  for (const FileFilter& f : state.filters) filters << Q(f.label + " (" + f.pattern + ")");
  dialog.setNameFilters(filters);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (state.filterIndex >= 0 && state.filterIndex < filters.size())
    dialog.selectNameFilter(dialog.nameFilters().value(state.filterIndex));
  if (!state.fileName.empty()) dialog.selectFile(Q(state.fileName));
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    name = dialog.selectedFiles().first().toStdString();
    filterIndex = ChosenFilter(dialog);
    if (!save) return true;
    const QFileInfo completed(Q(CompleteFileName(name, state.ExtOf(filterIndex))));
    if (!completed.exists()) return true;
    const std::string shown = completed.fileName().toStdString();
    if (prompts.AskYesNo("Файл " + shown + " уже существует. Заменить его?")) return true;
    dialog.selectFile(completed.filePath());
  }
}

template <std::size_t N>
void FillTable(QTableWidget* table, const std::vector<std::array<std::string, N>>& rows) {
  table->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < N; ++c) {
      table->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(Q(rows[r][c])));
    }
  }
  // Sized to the headings and contents; the last column takes the room left.
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
}

TapeBlockRow BlockRowOf(const std::array<std::string, 4>& row) {
  return {row[1], row[2], row[3]};
}

}  // namespace

void TFSHK1::SetDialogs(const Dialogs& dialogs) {
  dialogs_ = dialogs;
  if (dialogs.vvShk) barcode_ = std::make_unique<BarcodeWindow>(*dialogs.vvShk, ws_);
  if (dialogs.importForm)
    importReport_ = std::make_unique<ImportReport>(*dialogs.importForm, *this);
  connect(blocks_, &QTableWidget::cellClicked, this,
          [this](int row, int) { BlockTableClicked(row); });
}

void TFSHK1::RunOperation(void (*operation)(Workspace&)) {
  const BarcodeWindow::Pause pause(barcode_.get());
  operation(ws_);
  RefreshFromModel();
}

void TFSHK1::ExportCommand() {
  if (!BeginExport(ws_)) return RefreshFromModel();
  std::string name;
  int filter = 0;
  if (ChooseFile(this, exportDialog_, true, core_.prompts, name, filter))
    ExportToFile(ws_, exportDialog_, name, filter);
  RefreshFromModel();
}

void TFSHK1::ImportCommand() {
  if (!importReport_ || !BeginImport(ws_, *importReport_)) return RefreshFromModel();
  std::string name;
  int filter = 0;
  if (ChooseFile(this, importDialog_, false, core_.prompts, name, filter)) {
    importDialog_.filterIndex = filter;
    ImportFromFile(ws_, *importReport_, name, filter);
  }
  RefreshFromModel();
}

void TFSHK1::TapeCommand(Command command) {
  const BarcodeWindow::Pause pause(barcode_.get());
  if (command == Command::ReadTapeBlocks) ListTapeBlocks(ws_, tapes_);
  if (command == Command::ClearTapeBlock) EraseTapes(ws_, tapes_);
  if (command == Command::ReadTape && dialogs_.readKl) {
    TapeReminderWindow reminder(*dialogs_.readKl);
    ReadChosenTape(ws_, tapes_, reminder);
  }
  menuActions_.at(Command::TapeReminder)->setChecked(ws_.options.reminderMenuTicked);
  ShowTapeTables();
  RefreshFromModel();
}

void TFSHK1::ShowTapeTables() {
  FillTable(blocks_, tapes_.blocks);
  FillTable(tape_, tapes_.purchases);
}

// Row 0 of the original grid is its header; the widget's rows start at
// block 1, so widget row r is block r + 1.
void TFSHK1::BlockTableClicked(int row) {
  tapes_.ChooseBlock(row + 1);
  ShowTapeTables();
}

void TFSHK1::SaveTapeBlocks() {
  std::string name;
  int filter = 0;
  if (!ChooseFile(this, tapeBlocksDialog_, true, core_.prompts, name, filter)) return;
  std::vector<TapeBlockRow> rows;
  for (const auto& b : tapes_.blocks) rows.push_back(BlockRowOf(b));
  SaveBlockList(tapeBlocksDialog_, name, filter, rows, core_.prompts);
}

void TFSHK1::SaveTape() {
  std::string name;
  int filter = 0;
  if (!ChooseFile(this, tapeDialog_, true, core_.prompts, name, filter)) return;
  const int chosen = tapes_.ChosenBlock();
  const TapeBlockRow selected =
      chosen > 0 ? BlockRowOf(tapes_.blocks[static_cast<std::size_t>(chosen - 1)]) : TapeBlockRow{};
  std::vector<TapeSaleRow> sales;
  for (const auto& p : tapes_.purchases) sales.push_back({p[0], p[1], p[2], p[3]});
  SaveTapeContents(tapeDialog_, name, filter, selected, sales, core_.prompts);
}

// Nothing goes to a device, but the file must not change under a running exchange.
void TFSHK1::RestoreCommand() {
  if (ws_.run.exchangeState != ExchangeState::Idle) return;
  RestoreDialog dialog(ws_, this);
  dialog.Fill();
  dialog.exec();
  RefreshFromModel();
}

}  // namespace zel
