#include "app/repaint_pacer.h"

#include <QProgressBar>
#include <QStyle>
#include <QStyleFactory>
#include <utility>

namespace zel {

void PaintPlainly(QProgressBar& gauge) {
  QStyle* plain = QStyleFactory::create(QStringLiteral("Windows"));
  if (!plain) return;
  plain->setParent(&gauge);  // goes with the gauge
  gauge.setStyle(plain);
}

RepaintPacer::RepaintPacer() {
  pending_.setSingleShot(true);
  QObject::connect(&pending_, &QTimer::timeout, [this] { Flush(); });
}

bool RepaintPacer::Due() const {
  return !sincePaint_.isValid() || sincePaint_.elapsed() >= kRepaintGapMs;
}

void RepaintPacer::Notify(std::function<void()> notify) {
  notify_ = std::move(notify);
  // Even when due it waits for the next event batch: inside the window's
  // exchange that batch runs in a wait; between the server's steps it runs
  // after a reply, so a paint there holds back the next request.
  if (!pending_.isActive()) pending_.start(Due() ? 0 : kRepaintGapMs - int(sincePaint_.elapsed()));
}

void RepaintPacer::Flush() {
  pending_.stop();
  if (notify_) std::exchange(notify_, nullptr)();
  sincePaint_.start();
}

}  // namespace zel
