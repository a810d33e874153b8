#include "app/zhrm_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include "base/device_types.h"

namespace zel {
namespace {

void SetTextIfDifferent(QLineEdit* edit, const std::string& text) {
  const QString q = QString::fromStdString(text);
  if (edit->text() != q) edit->setText(q);
}

}  // namespace

ZhrmPage::ZhrmPage(ChannelTable& channels, int channel, QWidget* parent)
    : QWidget(parent),
      channels_(channels),
      n_(channel),
      typeLabel_(new QLabel(QStringLiteral("Тип прибора"), this)),
      type_(new QComboBox(this)),
      zhrmLabel_(new QLabel(QStringLiteral("ЖРМ №"), this)),
      zhrm_(new QLineEdit(this)),
      kkmLabel_(new QLabel(QStringLiteral("ККМ №"), this)),
      kkm_(new QLineEdit(this)),
      disconnect_(new QCheckBox(QStringLiteral("Отключить "), this)),
      active_(new QRadioButton(QStringLiteral("Активизировать"), this)) {
  type_->setEditable(true);
  type_->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& name : DeviceTypeTable::DialogList(n_)) {
    type_->addItem(QString::fromStdString(name));
  }
  zhrm_->setMaxLength(4);
  kkm_->setMaxLength(8);
  active_->setAutoExclusive(false);  // the marks of all pages are one choice
  BuildLayout();
  Connect();
  Refresh();
}

void ZhrmPage::BuildLayout() {
  auto* grid = new QGridLayout(this);
  grid->addWidget(typeLabel_, 0, 0);
  grid->addWidget(type_, 0, 1);
  grid->addWidget(zhrmLabel_, 1, 0);
  grid->addWidget(zhrm_, 1, 1);
  grid->addWidget(kkmLabel_, 2, 0);
  grid->addWidget(kkm_, 2, 1);
  grid->addWidget(disconnect_, 3, 0);
  grid->addWidget(active_, 3, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
}

void ZhrmPage::Connect() {
  connect(type_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    channels_.SetType(n_, text.toStdString());
    Refresh();
  });
  connect(zhrm_, &QLineEdit::textEdited, this,
          [this](const QString& text) { channels_.Channel(n_).zhrmNumber = text.toStdString(); });
  connect(kkm_, &QLineEdit::textEdited, this,
          [this](const QString& text) { channels_.Channel(n_).kkmNumber = text.toStdString(); });
  connect(disconnect_, &QCheckBox::clicked, this, [this](bool ticked) {
    channels_.SetDisconnected(n_, ticked);
    Changed();
  });
  connect(active_, &QRadioButton::clicked, this, [this] {
    channels_.MarkActive(n_);
    Changed();
  });
}

void ZhrmPage::Changed() {
  if (onChannelsChanged) {
    onChannelsChanged();
  } else {
    Refresh();
  }
}

void ZhrmPage::Refresh() {
  const DeviceChannel& ch = channels_.Channel(n_);
  {
    const QSignalBlocker blockType(type_);
    const QString type = QString::fromStdString(ch.deviceType);
    // The list's own entry, so its popup highlights the type shown.
    if (const int index = type_->findText(type); index >= 0) {
      type_->setCurrentIndex(index);
    } else if (type_->currentText() != type) {
      type_->setCurrentText(type);
    }
  }
  SetTextIfDifferent(zhrm_, ch.zhrmNumber);
  SetTextIfDifferent(kkm_, ch.kkmNumber);
  disconnect_->setChecked(ch.disconnected);
  active_->setChecked(ch.activeMark);
  const bool shown = ch.controlsShown;
  typeLabel_->setVisible(shown);
  type_->setVisible(shown);
  active_->setVisible(shown);
  active_->setEnabled(shown);
  zhrmLabel_->setVisible(shown && ch.zhrmFieldShown);
  zhrm_->setVisible(shown && ch.zhrmFieldShown);
  kkmLabel_->setVisible(shown && ch.kkmFieldShown);
  kkm_->setVisible(shown && ch.kkmFieldShown);
}

}  // namespace zel
