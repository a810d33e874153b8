// TInit_Comm "Инициализация последовательного порта": the COM choice with
// each choice's device path, and the exchange speed of the ЖРМ 3 family. The
// dialog shows and edits the PortSetup; the line profile is applied by the
// main window when it closes.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "common/prompts.h"
#include "link/port_setup.h"

class QButtonGroup;
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

 private:
  void BuildLayout();
  void Button1Click();

  PortSetup& port_;
  Prompts& prompts_;
  std::array<QRadioButton*, kComPorts> radios_{};
  std::array<QLineEdit*, kComPorts> paths_{};
  QButtonGroup* group_;
  QLabel* label1_;
  QComboBox* combo_;
  QPushButton* init_;
  QPushButton* close_;
};

/// Label1's text for a type; empty when the speed box is not shown.
std::string SpeedLabelFor(const std::string& typeText);

}  // namespace zel
