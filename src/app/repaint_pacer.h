// Repaints a widget at most every kRepaintGapMs however often its contents
// change. A gauge takes about a millisecond to paint, while a record at
// 115200 baud takes a few to exchange: painting each step would cost more
// than the exchange itself.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class QWidget;

namespace zel {

inline constexpr int kRepaintGapMs = 50;

class RepaintPacer {
 public:
  explicit RepaintPacer(QWidget* widget);
  /// Applies `change` to the widget at once; its painting waits for the gap.
  void Change(const std::function<void()>& change);
  /// Runs `notify` (what makes the widget paint) now when the gap has
  /// passed, else once it has; a later call replaces a pending one.
  void Notify(std::function<void()> notify);
  /// Paints what is pending now (an operation's end).
  void Flush();

 private:
  bool Due() const;
  void Wait();

  QWidget* widget_;
  QElapsedTimer sincePaint_;
  QTimer pending_;
  std::function<void()> notify_;
};

}  // namespace zel
