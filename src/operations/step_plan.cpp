#include "operations/step_plan.h"

namespace zel {

bool StepPlan::FitsSteps(int first, int last) const {
  return (first - 1) % perStep_ == 0 && last % perStep_ == 0;
}

int StepPlan::Start(RangeFields& range, int first, int last) const {
  range.CurrentRecord = InBlocks() ? (first - 1) / perStep_ : first;
  range.LastRecord = InBlocks() ? (last - 1) / perStep_ : last;
  return InBlocks() ? 0 : 1;
}

DeviceStep StepPlan::At(int current, int rowCounter) const {
  if (!InBlocks()) return {static_cast<uint16_t>(current - 1), 1, rowCounter};
  return {static_cast<uint16_t>(current * perStep_), perStep_, rowCounter * perStep_ + 1};
}

}  // namespace zel
