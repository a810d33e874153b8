// The built-in help viewer: Help/ZELBase.html of the program folder, or the
// copy built into the program when the folder has none.
#pragma once

#include <QUrl>
#include <QWidget>
#include <filesystem>

class QKeyEvent;
class QTextBrowser;

namespace zel {

/// The help page: the program folder's Help/ZELBase.html when it exists,
/// else the built-in copy.
QUrl HelpUrl(const std::filesystem::path& programDir);

class HelpViewer final : public QWidget {
 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  /// Opens `page` at the anchor `topic` and brings the window up.
  void ShowTopic(const QUrl& page, const QString& topic);

  QTextBrowser* Browser() const { return browser_; }

 protected:
  /// Esc closes the window, as it does a dialog.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_;
};

}  // namespace zel
