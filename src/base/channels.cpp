#include "base/channels.h"

#include "base/device_types.h"

namespace zel {

std::string ZeroPadded(int n, int digits) {
  std::string s = std::to_string(n);
  if (s.size() < static_cast<std::size_t>(digits)) s.insert(0, digits - s.size(), '0');
  return s;
}

ChannelTable::ChannelTable(BaseFolder& folder, Prompts& prompts, DisconnectWarning& warning)
    : folder_(folder), prompts_(prompts), warning_(warning) {
  for (int n = 1; n <= kChannelCount; ++n) {
    DeviceChannel& ch = Channel(n);
    ch.disconnected = n != 1;
    ch.activeMark = n == 1;
    ch.zhrmNumber = ZeroPadded(n, 4);
    ch.kkmNumber = ZeroPadded(n, 8);
    ch.controlsShown = !ch.disconnected;
  }
}

void ChannelTable::MarkActive(int n) {
  activeChannel = n;
  Channel(n).activeMark = true;
  ResetRB();
}

void ChannelTable::ClearActiveMark(int n) {
  Channel(n).activeMark = false;
  if (activeChannel == n) activeChannel = 0;
}

void ChannelTable::ResetRB() {
  for (int n = 1; n <= kChannelCount; ++n) {
    if (n != activeChannel) Channel(n).activeMark = false;
  }
}

int ChannelTable::SetNext() {
  for (int n = 1; n <= kChannelCount; ++n) {
    if (!Channel(n).disconnected) {
      MarkActive(n);
      return 1;
    }
  }
  return 0;
}

void ChannelTable::SetType(int n, std::string type) {
  Channel(n).deviceType = std::move(type);
  ApplyTypeRule(n);
}

void ChannelTable::ApplyTypeRule(int n) {
  DeviceChannel& ch = Channel(n);
  const std::string& t = ch.deviceType;
  if (t == kTypeZhrm15 || t == kTypeZhrm15v) ch.zhrmFieldShown = ch.kkmFieldShown = true;
  if (t == kTypeZhrm3 || t == kTypeZhrm3Plus || t == kTypeZhrm20) {
    ch.zhrmFieldShown = true;
    ch.kkmFieldShown = false;
  }
  if (t == kTypeRegister) {
    ch.zhrmFieldShown = false;
    ch.kkmFieldShown = true;
  }
}

void ChannelTable::SetDisconnected(int n, bool ticked) {
  DeviceChannel& ch = Channel(n);
  if (ch.disconnected == ticked) return;
  ch.disconnected = ticked;
  if (!reactionsEnabled) return;
  if (ticked) {
    DisconnectStep(n);
  } else {
    ReconnectStep(n);
  }
}

void ChannelTable::DisconnectStep(int n) {
  // The mark moves before the warning, and stays moved if it is cancelled.
  if (n == activeChannel && SetNext() == 0) {
    SetDisconnected(n, false);  // the last connected channel stays on
    return;
  }
  if (warningsArmed && !skipDisconnectWarning) {
    const DisconnectWarning::Answer answer = warning_.Ask();
    if (answer.skipFurther) skipDisconnectWarning = true;
    if (!answer.disconnect) {
      SetDisconnected(n, false);
      return;
    }
  }
  Channel(n).controlsShown = false;
  ClearActiveMark(n);
}

void ChannelTable::ReconnectStep(int n) {
  const std::string fileName = BaseFileName(n);
  std::string error;
  if (!folder_.Exists(fileName) && !folder_.CreateBase(fileName, error)) prompts_.Error(error);
  DeviceChannel& ch = Channel(n);
  ch.controlsShown = true;
  ch.zhrmFieldShown = ch.kkmFieldShown = true;
  SetType(n, std::string(kTypeZhrm15));
}

}  // namespace zel
