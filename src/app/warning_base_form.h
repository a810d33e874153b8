// TWarningBaseForm "Предупреждение": asks before a channel is switched off.
// Its box "Больше не предупреждать об этом" keeps its state for the run.
#pragma once

#include <QDialog>

#include "base/channels.h"

class QCheckBox;
class QPushButton;

namespace zel {

class TWarningBaseForm final : public QDialog, public DisconnectWarning {
 public:
  explicit TWarningBaseForm(QWidget* parent = nullptr);

  /// Modal; "Отключить" confirms, any other way of closing cancels.
  Answer Ask() override;

  QCheckBox* CheckBox1() const { return skip_; }
  QPushButton* DisconnectButton() const { return disconnect_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QCheckBox* skip_;
  QPushButton* disconnect_;
  QPushButton* cancel_;
};

}  // namespace zel
