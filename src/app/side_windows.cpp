#include "app/side_windows.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/window_placement.h"

namespace zel {
namespace {

QLabel* BoldLabel(QWidget* parent, const QString& style) {
  auto* label = new QLabel(parent);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumHeight(24);
  label->setStyleSheet(style);
  return label;
}

}  // namespace

TVV_shk::TVV_shk(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      barcode_(BoldLabel(this, QStringLiteral("background: white; color: black;"))),
      result_(BoldLabel(this, QString())),
      piece_(new QPushButton(QStringLiteral("как штучный товар"), this)),
      weight_(new QPushButton(QStringLiteral("как весовой товар"), this)),
      finish_(new QPushButton(QStringLiteral("Завершить ввод ш.кодов"), this)) {
  setWindowTitle(QStringLiteral("Ввод штриховых кодов"));
  setAutoFillBackground(true);
  QPalette navy = palette();
  navy.setColor(QPalette::Window, QColor(0, 0, 128));
  navy.setColor(QPalette::WindowText, Qt::white);
  setPalette(navy);
  weight_->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Текущий штриховой код:"), this));
  layout->addWidget(barcode_);
  layout->addWidget(result_);
  layout->addWidget(new QLabel(QStringLiteral("Запомнить штрих-код"), this));
  layout->addWidget(piece_);
  layout->addWidget(weight_);
  layout->addStretch(1);
  layout->addWidget(finish_);
  setFixedSize(std::max(194, CaptionWidth(*this)), 333);
}

void TVV_shk::closeEvent(QCloseEvent* event) {
  if (onCloseRequested) onCloseRequested();
  QWidget::closeEvent(event);
}

TImportForm::TImportForm(QWidget* parent)
    : QWidget(parent, Qt::Window), list_(new QListWidget(this)) {
  QFont f = list_->font();
  f.setBold(true);
  list_->setFont(f);
  list_->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
  resize(420, 300);
}

bool TImportForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    if (onStopRequested) onStopRequested();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

TReadKLWarning::TReadKLWarning(Options& options, QWidget* parent)
    : QDialog(parent), options_(options), ok_(new QPushButton(QStringLiteral("Ok"), this)) {
  setWindowTitle(QStringLiteral("Внимание"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  for (const char* line : {"Перед  чтением контрольной ленты необходимо убедиться в том,",
                           "что   содержимое  базы  товаров   в   приборе   ЖРМ 3  идентично ",
                           "содержимому  в таблице базы товаров  программы.", "Для этого:"}) {
    layout->addWidget(new QLabel(QString::fromUtf8(line), this));
  }
  const char* captions[] = {"всегда напоминать об этом", "больше не напоминать об этом ",
                            "запускать чтение базы без напоминания"};
  for (int mode = 1; mode <= 3; ++mode) {
    auto* choice = new QRadioButton(QString::fromUtf8(captions[mode - 1]), this);
    connect(choice, &QRadioButton::toggled, this, [this, mode](bool on) {
      if (on) options_.reminderMode = mode;
    });
    choices_[mode - 1] = choice;
    layout->addWidget(choice);
  }
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok_, 0, Qt::AlignHCenter);
}

void TReadKLWarning::showEvent(QShowEvent* event) {
  const int mode =
      options_.reminderMode >= 1 && options_.reminderMode <= 3 ? options_.reminderMode : 1;
  choices_[mode - 1]->setChecked(true);
  QDialog::showEvent(event);
}

int TReadKLWarning::Run() {
  return exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace zel
