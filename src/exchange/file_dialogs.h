// What the file dialogs of the exchange commands show, as data the window
// turns into real dialogs, and the rule that completes a chosen file name
// with the extension of the chosen file type.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zel {

/// One file type of a dialog: its label, its pattern and the extension a
/// saved name gets when this type is chosen.
struct FileFilter {
  std::string label;    ///< "В формате Excel  *.CSV"
  std::string pattern;  ///< "*.csv"
  std::string ext;      ///< "csv", without the dot
};

/// One dialog. Each command owns one and keeps it between showings, so the
/// completed name is offered again next time.
struct FileDialogState {
  std::string caption;  ///< empty: the toolkit's default title
  std::vector<FileFilter> filters;
  std::string fileName;  ///< initial name, then the last completed one
  int filterIndex = 0;   ///< type offered first: the one chosen last time

  /// The extension of filter `index` (0-based); empty for a bad index.
  std::string ExtOf(int index) const;
};

/// "Экспорт данных": CSV, text, ZEL_Base; initial name "Base1".
FileDialogState ExportDialog();

/// "Импорт данных из файла": text, ZEL_Base.
FileDialogState ImportDialog();

/// The save dialog of one control-tape command, titled `caption`: CSV, text.
FileDialogState TapeSaveDialog(std::string caption = {});

/// Completes `name` for the extension `ext` (no dot): when the fourth
/// character from the end is "." the last three are replaced by `ext` unless
/// they equal it exactly (case counts); otherwise "." + `ext` is appended.
/// Characters are counted as cp1251 characters of the UTF-8 text.
std::string CompleteFileName(std::string_view name, std::string_view ext);

}  // namespace zel
