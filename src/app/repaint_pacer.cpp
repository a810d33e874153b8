#include "app/repaint_pacer.h"

#include <QWidget>
#include <utility>

namespace zel {

RepaintPacer::RepaintPacer(QWidget* widget) : widget_(widget) {
  pending_.setSingleShot(true);
  QObject::connect(&pending_, &QTimer::timeout, [this] { Flush(); });
}

bool RepaintPacer::Due() const {
  return !sincePaint_.isValid() || sincePaint_.elapsed() >= kRepaintGapMs;
}

void RepaintPacer::Wait() {
  if (!pending_.isActive()) pending_.start(kRepaintGapMs - int(sincePaint_.elapsed()));
}

void RepaintPacer::Change(const std::function<void()>& change) {
  if (Due()) {
    Flush();
    change();  // painted at once, as Qt does for a visible change
    return;
  }
  // With updates off the change paints nothing; turning them on later
  // schedules one paint of everything that changed meanwhile.
  widget_->setUpdatesEnabled(false);
  change();
  Wait();
}

void RepaintPacer::Notify(std::function<void()> notify) {
  notify_ = std::move(notify);
  if (Due()) return Flush();
  Wait();
}

void RepaintPacer::Flush() {
  pending_.stop();
  if (!widget_->updatesEnabled()) widget_->setUpdatesEnabled(true);
  if (notify_) std::exchange(notify_, nullptr)();
  sincePaint_.start();
}

}  // namespace zel
