#include "base/window_state.h"

#include "base/range.h"
#include "base/run_state.h"

namespace zel {

void EnterRangeEdited(ControlState& controls) {
  controls.selectBaseEnabled = false;
  controls.toolbarEnabled = false;
  controls.tableEnabled = false;
  controls.confirmRangeEnabled = true;
  controls.Notify();
}

void LeaveRangeEdited(ControlState& controls) {
  controls.selectBaseEnabled = true;
  controls.toolbarEnabled = true;
  controls.tableEnabled = true;
  controls.confirmRangeEnabled = false;
  controls.Notify();
}

void DisableForOperation(ControlState& controls) {
  controls.toolbarEnabled = false;
  controls.menusEnabled = false;
  controls.rangePanelEnabled = false;
  controls.selectBaseEnabled = false;
  controls.Notify();
}

void SetEnabledAll(ControlState& controls, RangeFields& range, ProgressHost& progress) {
  // A start field that is not a number keeps the record where it is; the
  // next range check replaces the field anyway.
  if (auto start = ParseRecordNumber(range.StartText())) range.CurrentRecord = *start;
  progress.HideProgress();
  controls.toolbarEnabled = true;
  controls.menusEnabled = true;
  controls.rangePanelEnabled = true;
  controls.selectBaseEnabled = true;
  controls.Notify();
}

}  // namespace zel
