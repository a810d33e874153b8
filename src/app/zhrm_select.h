// TZhrm_select: the device-network dialog, sixteen pages "База 1" ..
// "База 16" over the ChannelTable. Closing it saves the channels in part;
// the main window then makes the active channel its device.
#pragma once

#include <QDialog>
#include <array>

#include "base/settings.h"
#include "base/workspace.h"

class QListWidget;
class QPushButton;
class QTabWidget;

namespace zel {

class ZhrmPage;

class TZhrm_select final : public QDialog {
 public:
  TZhrm_select(Workspace& ws, Settings& settings, QWidget* parent = nullptr);

  /// Shows every page's channel and the front page.
  void Refresh();
  /// Closes with the partial save (also for Esc and the close box).
  void done(int result) override;

  ZhrmPage* Page(int channel) const { return pages_[channel - 1]; }
  QTabWidget* Pages() const { return tabs_; }
  /// "База 1" .. "База 16", all in view; choosing one shows its page.
  QListWidget* PageList() const { return list_; }
  QPushButton* CloseButton() const { return close_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Workspace& ws_;
  Settings& settings_;
  QTabWidget* tabs_;
  QListWidget* list_;
  std::array<ZhrmPage*, kChannelCount> pages_{};
  QPushButton* close_;
};

}  // namespace zel
