#include "app/zhrm_select.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/zhrm_page.h"

namespace zel {

TZhrm_select::TZhrm_select(Workspace& ws, Settings& settings, QWidget* parent)
    : QDialog(parent),
      ws_(ws),
      settings_(settings),
      tabs_(new QTabWidget(this)),
      list_(new QListWidget(this)),
      close_(new QPushButton(QStringLiteral("Закрыть"), this)) {
  setWindowTitle(QStringLiteral("Менеджер удаленных баз товаров"));
  setModal(true);
  for (int n = 1; n <= kChannelCount; ++n) {
    auto* page = new ZhrmPage(ws_.channels, n, tabs_);
    page->onChannelsChanged = [this] { Refresh(); };
    pages_[n - 1] = page;
    tabs_->addTab(page, QStringLiteral("База %1").arg(n));
    list_->addItem(tabs_->tabText(n - 1));
  }
  // Sixteen tabs do not fit in one row: the pages are chosen from a list
  // that shows them all instead.
  tabs_->tabBar()->hide();
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setFixedWidth(list_->sizeHintForColumn(0) + 4 * list_->frameWidth() + 16);
  list_->setMinimumHeight(list_->sizeHintForRow(0) * kChannelCount + 2 * list_->frameWidth());
  connect(list_, &QListWidget::currentRowChanged, tabs_, &QTabWidget::setCurrentIndex);
  connect(tabs_, &QTabWidget::currentChanged, list_, [this](int i) { list_->setCurrentRow(i); });
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close_);
  auto* row = new QHBoxLayout;
  row->addWidget(list_);
  row->addWidget(tabs_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(buttons);
  resize(520, 260);
}

void TZhrm_select::Refresh() {
  for (ZhrmPage* page : pages_) page->Refresh();
}

void TZhrm_select::showEvent(QShowEvent* event) {
  ws_.channels.DialogShown();
  Refresh();
  tabs_->setCurrentIndex(ws_.channels.frontPage - 1);
  list_->setCurrentRow(tabs_->currentIndex());
  QDialog::showEvent(event);
}

void TZhrm_select::done(int result) {
  ws_.channels.frontPage = tabs_->currentIndex() + 1;
  settings_.SavePartial(ws_);
  QDialog::done(result);
}

}  // namespace zel
