#include "app/logo_widget.h"

#include <QPainter>

namespace zel {
namespace {

// Bar widths of the drawn barcode, in pixels; gaps are one pixel.
constexpr int kBars[] = {2, 1, 1, 3, 1, 2, 1, 1, 2, 3, 1, 1, 2, 1, 3, 1, 2, 1, 1, 2};

}  // namespace

LogoWidget::LogoWidget(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
}

void LogoWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF card = QRectF(rect()).adjusted(1, 1, -1, -1);
  p.setPen(QPen(QColor(0, 0, 128), 2));
  p.setBrush(QColor(255, 255, 240));
  p.drawRoundedRect(card, 8, 8);

  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  int x = 10;
  for (int w : kBars) {
    p.drawRect(x, 8, w, 26);
    x += w + 1;
  }
  p.setRenderHint(QPainter::Antialiasing);
  QFont f = font();
  f.setBold(true);
  f.setPixelSize(20);
  p.setFont(f);
  p.setPen(QColor(180, 0, 0));
  p.drawText(QRectF(card.left(), 36, card.width(), 24), Qt::AlignCenter, QStringLiteral("ZEL"));
}

}  // namespace zel
