// The bottom status panel of the main window: gauge, caption and "Стоп",
// hidden while idle. It is the window's ProgressHost.
#pragma once

#include <QFrame>
#include <functional>

#include "base/run_state.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zel {

class StatusPanel final : public QFrame, public ProgressHost {
 public:
  explicit StatusPanel(QWidget* parent = nullptr);

  /// Called when "Стоп" is pressed.
  std::function<void()> onStop;

  void ShowProgress(const std::string& caption, int totalSteps, bool withStop) override;
  void CountProducts(int products) override;
  void AdvanceProgress() override;
  void HideProgress() override;
  void ProcessEvents() override;

  /// A line shown while idle (empty: none), e.g. what a new user does first.
  void SetIdleHint(const QString& text);

  QProgressBar* Gauge1() const { return gauge_; }
  QLabel* Label2() const { return label_; }
  QPushButton* Button2() const { return stop_; }
  QLabel* Hint() const { return hint_; }

 private:
  void ShowCount();

  QProgressBar* gauge_;
  QLabel* label_;
  QPushButton* stop_;
  QLabel* hint_;
  int steps_ = 0;
  int total_ = 0;
  int products_ = 0;  ///< what the count shows, when not the steps
};

}  // namespace zel
