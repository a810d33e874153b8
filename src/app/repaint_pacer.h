// Lets a widget learn of changes at most every kRepaintGapMs however often
// they come. A gauge or a table page takes about a millisecond to paint,
// while a record at 115200 baud takes a few to exchange: painting each step
// would cost more than the exchange itself.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class QProgressBar;

namespace zel {

inline constexpr int kRepaintGapMs = 50;

/// Paints `gauge` in plain blocks: the default style's shaded, rounded bar
/// takes about a millisecond a paint, more than a record's exchange costs.
void PaintPlainly(QProgressBar& gauge);

class RepaintPacer {
 public:
  RepaintPacer();
  /// Runs `notify` (what makes the widget paint) in the next event batch
  /// once the gap has passed; a later call replaces a pending one.
  void Notify(std::function<void()> notify);
  /// Runs what is pending now.
  void Flush();

 private:
  bool Due() const;

  QElapsedTimer sincePaint_;
  QTimer pending_;
  std::function<void()> notify_;
};

}  // namespace zel
