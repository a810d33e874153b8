// One page "База N" of the device-network dialog: the channel's type,
// numbers, "Отключить " and "Активизировать". The page shows channel N of
// the ChannelTable and forwards every edit to it.
#pragma once

#include <QWidget>
#include <functional>

#include "base/channels.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zel {

class ZhrmPage final : public QWidget {
 public:
  ZhrmPage(ChannelTable& channels, int channel, QWidget* parent = nullptr);

  /// Called after an edit that can change other pages (marks, boxes).
  std::function<void()> onChannelsChanged;

  /// Shows the channel's values and which of its controls are visible.
  void Refresh();

  QComboBox* TypeBox() const { return type_; }
  QLineEdit* ZhrmEdit() const { return zhrm_; }
  QLineEdit* KkmEdit() const { return kkm_; }
  QCheckBox* DisconnectBox() const { return disconnect_; }
  QRadioButton* ActiveMark() const { return active_; }
  QLabel* ZhrmLabel() const { return zhrmLabel_; }
  QLabel* KkmLabel() const { return kkmLabel_; }

 private:
  void BuildLayout();
  void Connect();
  void Changed();

  ChannelTable& channels_;
  const int n_;
  QLabel* typeLabel_;
  QComboBox* type_;
  QLabel* zhrmLabel_;
  QLineEdit* zhrm_;
  QLabel* kkmLabel_;
  QLineEdit* kkm_;
  QCheckBox* disconnect_;
  QRadioButton* active_;
};

}  // namespace zel
