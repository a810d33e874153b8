#include "app/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/logo_widget.h"

namespace zel {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("О программе"));
  setModal(true);
  auto* name = new QLabel(QStringLiteral("ZELBase"), this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  name->setFont(bold);
  auto* version = new QLabel(QStringLiteral("Версия 4.0"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(new LogoWidget(this));
  top->addSpacing(12);
  top->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zel
