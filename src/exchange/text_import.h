// The text import: every line of the file is checked field by field,
// reported in the report window (`TImportForm`) and, when accepted, put
// into the next table row and stored in the active base file at once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/workspace.h"

namespace zel {

/// The report window and the main window as the text import sees them.
class ImportHost {
 public:
  virtual ~ImportHost() = default;
  /// Sets the report window's caption, empties its list and shows it (not modal).
  virtual void ShowReport(const std::string& caption) = 0;
  /// Adds a line to the report list; `select` makes it the selected line.
  virtual void AddReportLine(const std::string& text, bool select) = 0;
  /// Closes the report window (the import was stopped).
  virtual void CloseReport() = 0;
  /// Disables or enables the main window; enabling also gives it the focus.
  virtual void SetMainWindowEnabled(bool enabled) = 0;
  /// Lets pending events run, so the report repaints and Esc arrives.
  virtual void ProcessEvents() = 0;
  /// Esc was pressed in the report list since the request was last cleared.
  virtual bool StopRequested() const = 0;
  /// Clears the stop request (import start, report window activated).
  virtual void ClearStopRequest() = 0;
};

/// Report line put first when the file looks like UTF-8: it is still read
/// byte by byte as cp1251.
inline constexpr std::string_view kImportUtf8Note =
    "Внимание: файл похож на текст в кодировке UTF-8, он читается как Windows-1251 - "
    "русские буквы будут искажены";

/// Bytes at the start of the file looked at to tell UTF-8 from cp1251.
inline constexpr std::size_t kEncodingSampleBytes = 64 * 1024;

/// How a text import ended.
struct TextImportResult {
  int accepted = 0;         ///< lines stored in the table and the base file
  int errors = 0;           ///< lines rejected
  bool looksUtf8 = false;   ///< the UTF-8 note was reported
  bool reachedEnd = false;  ///< "Достигнут конец таблицы"
  bool stopped = false;     ///< stopped by Esc: report closed, no summary
  bool failed = false;      ///< ended by an error the operator was shown
};

/// Imports the text file `path` into the checked range (`CurrentRecord` ..
/// `LastRecord`), one table row and one base-file record per accepted line.
/// The main window is disabled and `ExchangeState` is busy while it runs;
/// both are restored and the file is closed however it ends.
TextImportResult RunTextImport(Workspace& ws, ImportHost& host, const std::string& path);

}  // namespace zel
