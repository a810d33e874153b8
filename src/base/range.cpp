#include "base/range.h"

#include "base/device_types.h"

namespace zel {
namespace {

constexpr int kSaturated = 1'000'000'000;

bool Reset(RangeFields& range, const DeviceType& type, bool emptyStart, Prompts& prompts) {
  range.SetStartText("1");
  range.SetEndText(std::to_string(type.capacity));
  // The held records follow the fields, so no later load uses a range that
  // was just rejected.
  range.CurrentRecord = 1;
  range.LastRecord = type.capacity;
  prompts.Error(DeviceTypeTable::RangeMessage(type, emptyStart));
  return false;
}

void AlignToBlocks(RangeFields& range) {
  const int start = ((range.CurrentRecord - 1) / 4) * 4 + 1;
  const int end = ((range.LastRecord - 1) / 4 + 1) * 4;
  range.CurrentRecord = start;
  range.LastRecord = end;
  range.SetStartText(std::to_string(start));
  range.SetEndText(std::to_string(end));
}

}  // namespace

void RangeFields::SetStartText(std::string text) {
  if (text == start_) return;
  start_ = std::move(text);
  EnterRangeEdited(controls_);
}

void RangeFields::SetEndText(std::string text) {
  if (text == end_) return;
  end_ = std::move(text);
  EnterRangeEdited(controls_);
}

std::optional<int> ParseRecordNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value >= kSaturated / 10 ? kSaturated : value * 10 + (c - '0');
  }
  return value;
}

bool CheckBaseRange(RangeFields& range, std::string_view typeName, Prompts& prompts) {
  const DeviceType& type = DeviceTypeTable::RulesFor(typeName);
  if (range.StartText().empty()) return Reset(range, type, true, prompts);
  const std::optional<int> start = ParseRecordNumber(range.StartText());
  if (!start) return Reset(range, type, false, prompts);
  const std::optional<int> end = ParseRecordNumber(range.EndText());
  if (!end) return Reset(range, type, false, prompts);
  range.CurrentRecord = *start;
  range.LastRecord = *end;
  if (*start < 1 || *start > type.capacity) return Reset(range, type, false, prompts);
  if (*end < *start) return Reset(range, type, false, prompts);
  if (*end < 1 || *end > type.capacity) return Reset(range, type, false, prompts);
  if (type.blockAligned) AlignToBlocks(range);
  return true;
}

}  // namespace zel
