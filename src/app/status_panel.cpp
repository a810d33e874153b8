#include "app/status_panel.h"

#include "app/repaint_pacer.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zel {
namespace {

// Repainting the gauge for each of 12288 records costs more than loading
// them; it moves in steps of a fraction of its width instead.
constexpr int kGaugeSteps = 200;

}  // namespace

StatusPanel::StatusPanel(QWidget* parent)
    : QFrame(parent),
      gauge_(new QProgressBar(this)),
      label_(new QLabel(this)),
      stop_(new QPushButton(QStringLiteral("Стоп"), this)),
      hint_(new QLabel(this)) {
  setFrameShape(QFrame::StyledPanel);
  setMinimumHeight(32);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 3, 6, 3);
  row->addWidget(label_);
  row->addWidget(gauge_, 1);
  row->addWidget(stop_);
  row->addWidget(hint_, 1);
  hint_->setWordWrap(true);
  gauge_->setRange(0, kGaugeSteps);
  PaintPlainly(*gauge_);
  gauge_->setTextVisible(true);
  gauge_->setAlignment(Qt::AlignCenter);
  connect(stop_, &QPushButton::clicked, this, [this] {
    if (onStop) onStop();
  });
  HideProgress();
}

void StatusPanel::ShowProgress(const std::string& caption, int totalSteps, bool withStop) {
  total_ = totalSteps < 1 ? 1 : totalSteps;
  steps_ = 0;
  label_->setText(QString::fromStdString(caption));
  gauge_->setValue(0);
  ShowCount();
  hint_->hide();
  label_->show();
  gauge_->show();
  stop_->setVisible(withStop);
}

void StatusPanel::CountProducts(int products) {
  products_ = products;
  ShowCount();
}

void StatusPanel::AdvanceProgress() {
  if (steps_ < total_) ++steps_;
  const int value = static_cast<int>(static_cast<long long>(steps_) * kGaugeSteps / total_);
  if (value == gauge_->value() && steps_ != total_) return;
  gauge_->setValue(value);
  ShowCount();
}

// How far it is in records, not per cent: "812 / 4096".
void StatusPanel::ShowCount() {
  const int of = products_ > 0 ? products_ : total_;
  const auto shown = static_cast<long long>(steps_) * of / total_;
  gauge_->setFormat(QStringLiteral("%1 / %2").arg(shown).arg(of));
}

void StatusPanel::HideProgress() {
  products_ = 0;
  gauge_->hide();
  label_->hide();
  stop_->hide();
  hint_->setVisible(!hint_->text().isEmpty());
  update();
}

void StatusPanel::SetIdleHint(const QString& text) {
  hint_->setText(text);
  hint_->setVisible(!text.isEmpty() && !gauge_->isVisible());
}

void StatusPanel::ProcessEvents() {
  QCoreApplication::processEvents();
}

}  // namespace zel
