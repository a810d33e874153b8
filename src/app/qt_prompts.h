// Message boxes of the window: the Prompts seam shown as modal Qt boxes
// with Russian captions and buttons.
#pragma once

#include <QMessageBox>
#include <QString>

#include "common/prompts.h"

namespace zel {

/// Caption of the plain message box: the program's title.
inline constexpr const char* kProgramTitle = "ZELBase";

class QtPrompts final : public Prompts {
 public:
  void Message(const std::string& text) override;
  void Information(const std::string& text) override;
  void Warning(const std::string& text) override;
  void Error(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;

 private:
  /// Shows a box with one "OK" button.
  void ShowOk(QMessageBox::Icon icon, const char* caption, const std::string& text);
};

/// Message text for a box: a lone carriage return (our line break in
/// messages) becomes a line feed, which Qt draws as a new line.
QString BoxText(const std::string& text);

}  // namespace zel
