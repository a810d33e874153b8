#include "app/help_viewer.h"

#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/window_placement.h"
#include "base/program_folder.h"

namespace zel {

QUrl HelpUrl(const std::filesystem::path& programDir) {
  const std::filesystem::path file = HelpFile(programDir, ExecutableFolder());
  if (!file.empty()) return QUrl::fromLocalFile(QString::fromStdString(file.string()));
  return QUrl(QStringLiteral("qrc:/help/ZELBase.html"));
}

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Справка ZELBase"));
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(720, 560);
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void HelpViewer::ShowTopic(const QUrl& page, const QString& topic) {
  QUrl url = page;
  url.setFragment(topic);
  browser_->setSource(url);
  PlaceOverParent(*this);  // where the operator is looking
  show();
  raise();
  activateWindow();
}

}  // namespace zel
