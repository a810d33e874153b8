#include "app/repaint_pacer.h"

#include <QStyle>
#include <QStyleFactory>
#include <memory>
#include <utility>

namespace zel {

void PaintPlainly(QProgressBar& gauge) {
  static const std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("Windows")));
  if (plain) gauge.setStyle(plain.get());
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
  if (Due()) return Flush();
  if (!pending_.isActive()) pending_.start(kRepaintGapMs - int(sincePaint_.elapsed()));
}

void RepaintPacer::Flush() {
  pending_.stop();
  if (notify_) std::exchange(notify_, nullptr)();
  sincePaint_.start();
}

}  // namespace zel
