// TInit_Comm "Инициализация последовательного порта": the COM choice with
// each choice's device path, and the exchange speed of the ЖРМ 3 family. The
// dialog shows and edits the PortSetup; the line profile is applied by the
// main window when it closes.
#pragma once

#include <QDialog>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/prompts.h"
#include "link/port_setup.h"

class QAction;
class QButtonGroup;
class QMenu;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zel {

class TInit_Comm final : public QDialog {
 public:
  TInit_Comm(PortSetup& port, Prompts& prompts, QWidget* parent = nullptr);

  /// Label1 and ComboBox1 for the active device type: shown with their
  /// text for the ЖРМ 3 family, hidden for every other type.
  void PrepareForType(const std::string& typeText);
  /// Shows the PortSetup's values.
  void Refresh();

  QRadioButton* RadioButton(int i) const { return radios_[i]; }  ///< 0..7: COM1..COM8
  QLineEdit* PathEdit(int i) const { return paths_[i]; }
  QLabel* Label1() const { return label1_; }
  QComboBox* ComboBox1() const { return combo_; }
  QPushButton* Button1() const { return init_; }
  QPushButton* Button3() const { return close_; }
  /// The arrow in path field i that lists the USB adapters; hidden when none is plugged in.
  QAction* AdapterButton(int i) const { return adapterButtons_[i]; }
  /// The list the arrow opened last (null before): choosing a path puts it in the field.
  QMenu* AdapterMenu() const { return adapterMenu_; }
  /// Where the adapters are listed from (tests); /dev/serial/by-id by default.
  void SetAdapterFolder(const std::filesystem::path& dir) { adapterFolder_ = dir; }

 private:
  void BuildLayout();
  void Button1Click();
  void ShowAdapters(int i);

  PortSetup& port_;
  Prompts& prompts_;
  std::array<QRadioButton*, kComPorts> radios_{};
  std::array<QLineEdit*, kComPorts> paths_{};
  QButtonGroup* group_;
  QLabel* label1_;
  QComboBox* combo_;
  QPushButton* init_;
  QPushButton* close_;
  std::array<QAction*, kComPorts> adapterButtons_{};
  QMenu* adapterMenu_ = nullptr;
  std::filesystem::path adapterFolder_ = "/dev/serial/by-id";
  std::vector<std::string> adapters_;
};

/// Label1's text for a type; empty when the speed box is not shown.
std::string SpeedLabelFor(const std::string& typeText);

}  // namespace zel
