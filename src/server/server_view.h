// What the main window shows of the server: the red bar with its progress
// while an exchange runs, the control-tape tables, and the window's
// visibility. The window implements it; tests record it.
#pragma once

namespace zel {

/// Caption of `Panel1`, the red bar shown while a server exchange runs.
inline constexpr const char* kServerPanelCaption =
    "Сервер осуществляет обмен данными с активной базой";

class ServerView {
 public:
  virtual ~ServerView() = default;
  /// Shows or hides `Panel1`.
  virtual void ShowServerPanel(bool shown) = 0;
  /// `ProgressBar1` on the panel, 0..100.
  virtual void SetServerProgress(int value) = 0;
  /// The slot list (`StringGrid2`) or the tape goods (`StringGrid3`) changed.
  virtual void TapeTablesChanged() = 0;
  /// `Visible`: shows (true) or hides the main window.
  virtual void SetMainWindowVisible(bool visible) = 0;
};

}  // namespace zel
