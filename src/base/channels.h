// The sixteen device channels of the network dialog, the active channel and
// the steps run when a channel is switched off or on. The dialog displays
// this model; it holds no state of its own.
#pragma once

#include <array>
#include <string>

#include "base/base_file.h"
#include "common/prompts.h"

namespace zel {

inline constexpr int kChannelCount = 16;

struct DeviceChannel {
  bool disconnected = false;  ///< "Отключить " ticked
  bool activeMark = false;    ///< "Активизировать"
  std::string zhrmNumber;     ///< 4 digits in the dialog
  std::string deviceType = "ЖРМ 1.5";
  std::string kkmNumber;       ///< 8 digits in the dialog
  bool zhrmFieldShown = true;  ///< "ЖРМ №" field and label (type rule)
  bool kkmFieldShown = true;   ///< "ККМ №" field and label (type rule)
  bool controlsShown = true;   ///< numbers, type, labels and mark; hidden when switched off
};

/// The disconnect warning "Предупреждение" and its answer.
class DisconnectWarning {
 public:
  struct Answer {
    bool disconnect = false;  ///< "Отключить"; any other way of closing is cancel
    bool skipFurther = false;  ///< "Больше не предупреждать об этом" ticked
  };
  virtual ~DisconnectWarning() = default;
  /// Shows the warning modally.
  virtual Answer Ask() = 0;
};

class ChannelTable {
 public:
  /// Channel 1 connected and active, 2..16 switched off; numbers N in 4 and 8 digits.
  ChannelTable(BaseFolder& folder, Prompts& prompts, DisconnectWarning& warning);

  /// Channel 1..16; out-of-range numbers are the caller's error.
  DeviceChannel& Channel(int n) { return channels_.at(static_cast<std::size_t>(n - 1)); }
  const DeviceChannel& Channel(int n) const {
    return channels_.at(static_cast<std::size_t>(n - 1));
  }

  /// The active channel 1..16, 0 when none carries the mark.
  int activeChannel = 1;
  /// Page 1..16 in front in the dialog.
  int frontPage = 1;
  /// Set for good the first time the dialog is shown; warnings need it.
  bool warningsArmed = false;
  /// "Больше не предупреждать об этом", for the rest of the run.
  bool skipDisconnectWarning = false;
  /// Off while the settings load sets the boxes: ticking then runs no step.
  bool reactionsEnabled = true;

  /// Makes channel n active and clears every other mark.
  void MarkActive(int n);
  /// Clears channel n's mark; no channel is active afterwards if it was.
  void ClearActiveMark(int n);
  /// Clears the mark of every channel but `activeChannel`.
  void ResetRB();
  /// Marks the lowest connected channel active: 1, or 0 when all are off.
  int SetNext();

  /// Sets channel n's type text and applies the type rule.
  void SetType(int n, std::string type);
  /// Shows the number fields channel n's type uses; unknown types change nothing.
  void ApplyTypeRule(int n);

  /// Ticks or clears "Отключить " of channel n; with reactions on, a change
  /// runs the disconnect or reconnect step.
  void SetDisconnected(int n, bool ticked);
  /// Channel n was just switched off: move the active mark, warn, hide.
  void DisconnectStep(int n);
  /// Channel n was just switched on: base file, controls, type "ЖРМ 1.5".
  void ReconnectStep(int n);

  /// The dialog is shown: warnings are armed from now on.
  void DialogShown() { warningsArmed = true; }

 private:
  std::array<DeviceChannel, kChannelCount> channels_;
  BaseFolder& folder_;
  Prompts& prompts_;
  DisconnectWarning& warning_;
};

/// N in `digits` digits with leading zeros ("0001", "00000016").
std::string ZeroPadded(int n, int digits);

}  // namespace zel
