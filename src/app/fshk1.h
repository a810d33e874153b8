// TFSHK1 "Менеджер удаленных баз товаров": the main window. It shows the
// workspace (range, active device, product table, progress) and forwards
// every command and edit to the operation that owns it.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

#include "app/app_core.h"
#include "app/commands.h"
#include "app/repaint_pacer.h"
#include "exchange/file_dialogs.h"
#include "operations/control_tapes.h"
#include "server/server_view.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QToolBar;

namespace zel {

class HelpViewer;
class ProductGrid;
class StatusPanel;
class BarcodeWindow;
class ImportReport;
class TAboutBox;
class TImportForm;
class TReadKLWarning;
class TVV_shk;
class TInit_Comm;
class TTovarNumberForm;
class TZhrm_select;

class TFSHK1 final : public QMainWindow, public ServerView {
  Q_OBJECT

 public:
  explicit TFSHK1(AppCore& core, QWidget* parent = nullptr);
  ~TFSHK1() override;

  /// The dialogs the commands open; they are created after the main window.
  struct Dialogs {
    TInit_Comm* initComm = nullptr;
    TZhrm_select* zhrmSelect = nullptr;
    TAboutBox* about = nullptr;
    TTovarNumberForm* tovarNumber = nullptr;
    TVV_shk* vvShk = nullptr;
    TImportForm* importForm = nullptr;
    TReadKLWarning* readKl = nullptr;
  };
  void SetDialogs(const Dialogs& dialogs);

  /// FormActivate: the first call loads the settings, every later one does nothing.
  void FormActivate();
  /// Runs a command as its toolbar button and menu item do.
  void Run(Command command);
  /// The close steps: stop request, settings saved, port released.
  void CloseSteps();
  /// Shows the workspace: enabled controls, range fields, active device.
  void RefreshFromModel();

  /// The barcode entry window's logic and timer (null before SetDialogs).
  BarcodeWindow* Barcodes() const { return barcode_.get(); }
  /// The control-tape tables StringGrid2 and StringGrid3 display.
  TapeTables& Tapes() { return tapes_; }
  /// Asked after the close steps while automation clients are connected;
  /// false keeps the program running.
  std::function<bool()> confirmEndWithClients;

  // ServerView
  void ShowServerPanel(bool shown) override;
  void SetServerProgress(int value) override;
  void TapeTablesChanged() override { ShowTapeTables(); }
  void SetMainWindowVisible(bool visible) override { setVisible(visible); }

  ProductGrid* StringGrid1() const { return grid_; }
  QLineEdit* Edit11() const { return edit11_; }
  QLineEdit* Edit12() const { return edit12_; }
  QPushButton* Button3() const { return button3_; }
  QPushButton* Button1() const { return button1_; }
  QCheckBox* BlockKkmBox() const { return blockKkm_; }
  QLineEdit* TypeField() const { return typeField_; }
  QLineEdit* ZhrmField() const { return zhrmField_; }
  QLineEdit* KkmField() const { return kkmField_; }
  QTabWidget* PageControl1() const { return pages_; }
  QTableWidget* StringGrid2() const { return blocks_; }
  QTableWidget* StringGrid3() const { return tape_; }
  QFrame* ServerPanel() const { return serverPanel_; }
  QProgressBar* ServerProgress() const { return serverProgress_; }
  StatusPanel* Status() const { return status_; }
  QToolBar* ToolBar1() const { return toolbar_; }
  QAction* ToolAction(Command command) const { return toolActions_.at(command); }
  QAction* MenuAction(Command command) const { return menuActions_.at(command); }
  QMenu* MainMenu(int index) const { return menus_.at(static_cast<std::size_t>(index)); }
  QMenu* PopupMenu1() const { return popup_; }
  HelpViewer* Help() const { return help_; }
  /// Where the product-number popup is placed (screen coordinates).
  QPoint TovarNumberPosition() const;

 signals:
  /// The window has closed; the program ends.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // fshk1_layout.cpp
  void BuildActions();
  void BuildMenus();
  QWidget* BuildRangeBar();
  QWidget* BuildActiveBaseBox();
  QWidget* BuildPages();
  QWidget* BuildServerPanel();
  QWidget* BuildBottom();
  void FormCreate();
  void PlaceOnScreen();

  // fshk1.cpp
  void ConnectModel();
  void RefreshControls();
  void RefreshDevice();
  void Button3Click();
  void OnCtrlDigit(int digit);
  void OnCtrlReleased();

  // fshk1_commands.cpp
  void ExitCommand();
  void PortDialog();
  void SelectBase();
  void HelpContents();
  void ToggleTapeReminder();

  // fshk1_operations.cpp
  void RunOperation(void (*operation)(Workspace&));
  void ExportCommand();
  void ImportCommand();
  void TapeCommand(Command command);
  void SaveTapeBlocks();
  void SaveTape();
  void RestoreCommand();
  void ShowTapeTables();
  void BlockTableClicked(int row);

  AppCore& core_;
  Workspace& ws_;
  Dialogs dialogs_;
  bool activationQueued_ = false;
  bool closeStepsDone_ = false;

  QToolBar* toolbar_ = nullptr;
  std::map<Command, QAction*> toolActions_;
  std::map<Command, QAction*> menuActions_;
  std::vector<QMenu*> menus_;
  QMenu* popup_ = nullptr;
  QWidget* rangePanel_ = nullptr;
  QLineEdit* edit11_ = nullptr;
  QLineEdit* edit12_ = nullptr;
  QPushButton* button3_ = nullptr;
  QCheckBox* blockKkm_ = nullptr;
  QLineEdit* typeField_ = nullptr;
  QLabel* zhrmLabel_ = nullptr;
  QLineEdit* zhrmField_ = nullptr;
  QLabel* kkmLabel_ = nullptr;
  QLineEdit* kkmField_ = nullptr;
  QPushButton* button1_ = nullptr;
  QTabWidget* pages_ = nullptr;
  ProductGrid* grid_ = nullptr;
  QTableWidget* blocks_ = nullptr;
  QTableWidget* tape_ = nullptr;
  QFrame* serverPanel_ = nullptr;
  QProgressBar* serverProgress_ = nullptr;
  std::unique_ptr<RepaintPacer> serverPacer_;
  StatusPanel* status_ = nullptr;
  HelpViewer* help_ = nullptr;

  TapeTables tapes_;
  FileDialogState exportDialog_ = ExportDialog();
  FileDialogState importDialog_ = ImportDialog();
  FileDialogState tapeBlocksDialog_ = TapeSaveDialog(InfoOf(Command::SaveTapeBlocks).caption);
  FileDialogState tapeDialog_ = TapeSaveDialog(InfoOf(Command::SaveTape).caption);
  std::unique_ptr<BarcodeWindow> barcode_;
  std::unique_ptr<ImportReport> importReport_;
};

}  // namespace zel
