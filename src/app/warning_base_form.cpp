#include "app/warning_base_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zel {

TWarningBaseForm::TWarningBaseForm(QWidget* parent)
    : QDialog(parent),
      skip_(new QCheckBox(QStringLiteral("Больше не предупреждать об этом"), this)),
      disconnect_(new QPushButton(QStringLiteral("Отключить"), this)),
      cancel_(new QPushButton(QStringLiteral("Отмена"), this)) {
  setWindowTitle(QStringLiteral("Предупреждение"));
  setModal(true);
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  auto* text = new QLabel(
      QStringLiteral("Отключение удаленной базы товаров приведет к потере информации об этой "
                     "базе."),
      this);
  text->setWordWrap(true);
  text->setMinimumWidth(300);
  cancel_->setDefault(true);
  connect(disconnect_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(disconnect_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(top);
  layout->addWidget(skip_);
  layout->addLayout(buttons);
}

DisconnectWarning::Answer TWarningBaseForm::Ask() {
  const bool confirmed = exec() == QDialog::Accepted;
  return {confirmed, skip_->isChecked()};
}

}  // namespace zel
