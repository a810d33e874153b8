#include "app/restore_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zel {

RestoreDialog::RestoreDialog(Workspace& ws, QWidget* parent)
    : QDialog(parent),
      ws_(ws),
      table_(new QTableWidget(this)),
      restore_(new QPushButton(QStringLiteral("Восстановить"), this)),
      close_(new QPushButton(QStringLiteral("Закрыть"), this)) {
  setWindowTitle(QStringLiteral("Восстановление базы из копии"));
  setModal(true);
  table_->setColumnCount(4);
  table_->setHorizontalHeaderLabels({QStringLiteral("Дата и время"), QStringLiteral("Операция"),
                                     QStringLiteral("Отличий"), QStringLiteral("Файл")});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  connect(restore_, &QPushButton::clicked, this, [this] { RestoreChosen(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
    const int row = table_->currentRow();
    restore_->setEnabled(row >= 0 && copies_[static_cast<std::size_t>(row)].copy.Usable());
  });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { RestoreChosen(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(restore_);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  resize(640, 360);
}

void RestoreDialog::Fill() {
  restored_ = false;
  copies_ = ListActiveBaseCopies(ws_);
  table_->clearContents();
  table_->setRowCount(static_cast<int>(copies_.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    const ListedCopy& c = copies_[static_cast<std::size_t>(row)];
    const QString differ =
        c.copy.Usable() ? QString::number(c.changedProducts)
                        : QStringLiteral("не годится: ") + QString::fromStdString(c.copy.problem);
    const QString cells[] = {QString::fromStdString(c.copy.ShownTime()),
                             QString::fromStdString(OperationCaption(c.copy.operation)), differ,
                             QString::fromStdString(c.copy.path.filename().string())};
    for (int col = 0; col < 4; ++col) {
      auto* item = new QTableWidgetItem(cells[col]);
      if (!c.copy.Usable()) item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
      table_->setItem(row, col, item);
    }
  }
  table_->resizeColumnsToContents();
  restore_->setEnabled(false);
  if (!copies_.empty() && copies_.front().copy.Usable()) table_->selectRow(0);
}

void RestoreDialog::RestoreChosen() {
  const int row = table_->currentRow();
  if (row < 0 || !copies_[static_cast<std::size_t>(row)].copy.Usable()) return;
  if (!RestoreBaseCopy(ws_, copies_[static_cast<std::size_t>(row)].copy)) return;
  restored_ = true;
  accept();
}

}  // namespace zel
