// Message boxes of the window: the Prompts seam shown as modal Qt boxes
// with Russian captions and buttons.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "common/prompts.h"

namespace zel {

/// Caption of the plain message box: the program's title.
inline constexpr const char* kProgramTitle = "ZELBase";

class QtPrompts final : public Prompts {
 public:
  ~QtPrompts() override;

  /// Whether the operator watches the main window (it is shown on a real
  /// screen). A box raised for an automation client while nobody watches
  /// does not wait: it is shown without blocking (where a screen exists),
  /// its text goes to stderr and a question takes its Esc answer. Unset:
  /// always watched.
  std::function<bool()> watched;

  void Message(const std::string& text) override;
  void Information(const std::string& text) override;
  void Warning(const std::string& text) override;
  void Error(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;

 private:
  /// Shows a box with one "OK" button.
  void ShowOk(QMessageBox::Icon icon, const char* caption, const std::string& text);
  /// True when `box` must not wait; it has then been shown and logged.
  bool ShownUnattended(QMessageBox* box);

  std::vector<QPointer<QMessageBox>> unattended_;
};

/// False on the offscreen and minimal platforms, where no one sees a window.
bool HasScreen();

/// Message text for a box: a lone carriage return (our line break in
/// messages) becomes a line feed, which Qt draws as a new line.
QString BoxText(const std::string& text);

}  // namespace zel
