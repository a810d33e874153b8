#include "app/init_comm.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/window_placement.h"
#include "base/device_types.h"
#include "link/serial_adapters.h"

namespace zel {
namespace {

constexpr const char* kSpeeds[] = {"9600", "19200", "38400", "57600", "115200"};

}  // namespace

std::string SpeedLabelFor(const std::string& typeText) {
  if (typeText == kTypeZhrm3 || typeText == kTypeZhrm3Plus) {
    return "Установка скорости обмена для ЖРМ 3";
  }
  if (typeText == kTypeZhrm200) return "Установка скорости обмена для ЖРМ 200";
  return {};
}

TInit_Comm::TInit_Comm(PortSetup& port, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      port_(port),
      prompts_(prompts),
      group_(new QButtonGroup(this)),
      label1_(new QLabel(QStringLiteral("Установка скорости обмена для ЖРМ 3"), this)),
      combo_(new QComboBox(this)),
      init_(new QPushButton(QStringLiteral("Инициализация"), this)),
      close_(new QPushButton(QStringLiteral("Закрыть"), this)) {
  setWindowTitle(QStringLiteral("Инициализация последовательного порта"));
  setModal(true);
  BuildLayout();
  label1_->hide();
  combo_->hide();
  // The layout fixes the size to its contents: the path fields take the
  // room the caption needs.
  if (const int missing = CaptionWidth(*this) - sizeHint().width(); missing > 0) {
    for (QLineEdit* path : paths_) path->setMinimumWidth(path->minimumWidth() + missing);
    layout()->invalidate();  // a hidden window's layout keeps the old hints otherwise
  }
  Refresh();
}

void TInit_Comm::BuildLayout() {
  auto* ports = new QGridLayout;
  for (int i = 0; i < kComPorts; ++i) {
    radios_[i] = new QRadioButton(QStringLiteral("COM%1").arg(i + 1), this);
    paths_[i] = new QLineEdit(this);
    paths_[i]->setMinimumWidth(160);
    group_->addButton(radios_[i], i);
    ports->addWidget(radios_[i], i, 0);
    ports->addWidget(paths_[i], i, 1);
    connect(paths_[i], &QLineEdit::textEdited, this,
            [this, i](const QString& text) { port_.comPaths[i] = text.toStdString(); });
    adapterButtons_[i] = paths_[i]->addAction(style()->standardIcon(QStyle::SP_ArrowDown),
                                              QLineEdit::TrailingPosition);
    adapterButtons_[i]->setToolTip(QStringLiteral("USB-адаптеры"));
    connect(adapterButtons_[i], &QAction::triggered, this, [this, i] { ShowAdapters(i); });
  }
  connect(group_, &QButtonGroup::idClicked, this, [this](int id) { port_.comIndex = id; });
  combo_->setEditable(true);
  for (const char* speed : kSpeeds) combo_->addItem(QString::fromLatin1(speed));
  connect(combo_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { port_.speedText = text.toStdString(); });
  connect(init_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(init_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(ports);
  layout->addWidget(label1_);
  layout->addWidget(combo_);
  layout->addLayout(buttons);
}

void TInit_Comm::PrepareForType(const std::string& typeText) {
  const std::string label = SpeedLabelFor(typeText);
  label1_->setText(
      QString::fromStdString(label.empty() ? SpeedLabelFor(std::string(kTypeZhrm3)) : label));
  label1_->setVisible(!label.empty());
  combo_->setVisible(!label.empty());
  Refresh();
}

void TInit_Comm::Refresh() {
  // No button may be checked (all eight COM keys false): exclusivity would
  // forbid clearing the last one.
  group_->setExclusive(false);
  for (int i = 0; i < kComPorts; ++i) {
    radios_[i]->setChecked(i == port_.comIndex);
    if (paths_[i]->text().toStdString() != port_.comPaths[i]) {
      paths_[i]->setText(QString::fromStdString(port_.comPaths[i]));
    }
  }
  group_->setExclusive(true);
  adapters_ = SerialAdapterPaths(adapterFolder_);
  for (QAction* button : adapterButtons_) button->setVisible(!adapters_.empty());
  const QString speed = QString::fromStdString(port_.speedText);
  if (combo_->currentText() != speed) combo_->setCurrentText(speed);
}

void TInit_Comm::ShowAdapters(int i) {
  delete adapterMenu_;
  adapterMenu_ = new QMenu(this);
  for (const std::string& path : adapters_) {
    const QString text = QString::fromStdString(path);
    connect(adapterMenu_->addAction(text), &QAction::triggered, this, [this, i, text] {
      paths_[i]->setText(text);
      port_.comPaths[i] = text.toStdString();
    });
  }
  adapterMenu_->popup(paths_[i]->mapToGlobal(paths_[i]->rect().bottomLeft()));
}

void TInit_Comm::Button1Click() {
  port_.set_p(prompts_);
}

}  // namespace zel
