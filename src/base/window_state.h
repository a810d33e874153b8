// Which controls of the main window are enabled: idle, running an operation,
// or waiting for a changed range to be confirmed. The window only mirrors
// this state; `onChanged` tells it when to refresh.
#pragma once

#include <functional>

namespace zel {

class ProgressHost;
class RangeFields;

struct ControlState {
  bool toolbarEnabled = true;
  bool menusEnabled = true;  ///< "Файл", "Действия", "ЖРМ3"
  bool rangePanelEnabled = true;
  bool selectBaseEnabled = true;  ///< "Выбор базы"
  bool tableEnabled = true;
  bool confirmRangeEnabled = false;  ///< "Изменить диапазон"

  std::function<void()> onChanged;
  void Notify() const {
    if (onChanged) onChanged();
  }
};

/// A range field changed: "Выбор базы", toolbar and table off until the
/// range is confirmed; "Изменить диапазон" on. Menus stay enabled.
void EnterRangeEdited(ControlState& controls);

/// A range was confirmed (or set by the program): "Выбор базы", toolbar and
/// table on, "Изменить диапазон" off.
void LeaveRangeEdited(ControlState& controls);

/// An operation starts: toolbar, menus, range panel and "Выбор базы" off.
void DisableForOperation(ControlState& controls);

/// Back to idle after an operation: `CurrentRecord` from the start field,
/// gauge hidden, toolbar, menus, range panel and "Выбор базы" on.
void SetEnabledAll(ControlState& controls, RangeFields& range, ProgressHost& progress);

}  // namespace zel
