// Where side windows go and how wide they are: window managers cut a title
// that does not fit in the window's width (fixed-size windows cannot be
// widened by hand) and place a new window wherever they like.
#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace zel {

/// Width that shows `window`'s caption in full beside the title-bar buttons.
inline int CaptionWidth(const QWidget& window) {
  QFont bold = window.font();
  bold.setBold(true);
  constexpr int kTitleBarButtons = 130;  // icon, minimise, maximise, close
  return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + kTitleBarButtons;
}

/// Centres `window` over its parent's window (over the screen without a
/// parent), before it is shown; a window already up stays where it is.
inline void PlaceOverParent(QWidget& window) {
  if (window.isVisible()) return;
  window.ensurePolished();
  QRect frame(QPoint(0, 0), window.size().expandedTo(window.minimumSizeHint()));
  const QWidget* over = window.parentWidget() ? window.parentWidget()->window() : nullptr;
  frame.moveCenter(over ? over->frameGeometry().center()
                        : window.screen()->availableGeometry().center());
  window.move(frame.topLeft());
}

/// Centres `window` on its screen, before it is shown.
inline void CentreOnScreen(QWidget& window) {
  QRect frame(QPoint(0, 0), window.size().expandedTo(window.sizeHint()));
  frame.moveCenter(window.screen()->availableGeometry().center());
  window.move(frame.topLeft());
}

}  // namespace zel
