#include "base/active_device.h"

#include "base/base_ops.h"
#include "base/device_types.h"
#include "link/addresses.h"

namespace zel {
namespace {

bool AllDigits(const std::string& s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void CopyActiveChannel(Workspace& ws) {
  for (int n = 1; n <= kChannelCount; ++n) {
    const DeviceChannel& ch = ws.channels.Channel(n);
    if (!ch.activeMark) continue;
    ws.device.zhrmNumber = ch.zhrmNumber;
    ws.device.typeText = ch.deviceType;
    ws.device.kkmNumber = ch.kkmNumber;
    ws.device.baseFileName = BaseFileName(n);
  }
}

// A range end above the capacity (or not a number) becomes 1..capacity.
void ClampRange(Workspace& ws, int capacity) {
  const std::optional<int> end = ParseRecordNumber(ws.range.EndText());
  if (end && *end <= capacity) return;
  ws.range.SetStartText("1");
  ws.range.SetEndText(std::to_string(capacity));
  CheckBaseRange(ws.range, ws.device.typeText, ws.prompts);
  LeaveRangeEdited(ws.controls);
}

void ApplyType(Workspace& ws, const DeviceType& type) {
  if (type.family == LineFamily::Register) Set_Zhrm(ws);
  ActiveDevice& d = ws.device;
  d.zhrmNumberShown = type.zhrmNumberShown;
  d.kkmNumberShown = type.kkmNumberShown;
  ws.port.ApplyLineProfile(type.family, ProfileContext::ChannelActivated);
  ws.table.SetColumnCount(type.columnCount);
  if (!type.column6Heading.empty()) ws.table.SetCell(0, kCol6, std::string(type.column6Heading));
  if (!type.column7Heading.empty()) ws.table.SetCell(0, kCol7, std::string(type.column7Heading));
  d.capacity = type.capacity;
  ClampRange(ws, type.capacity);
  d.controlTapesOn = type.controlTapes;
  d.blockKkmShown = type.blockKkmShown;
}

// Completes a number with leading zeros to `width`; false (field reset to
// `resetText`, message shown) when it holds a non-digit.
bool CompleteNumber(std::string& field, std::size_t width, const char* resetText,
                    const char* message, Prompts& prompts) {
  if (field.empty()) field.assign(width, '0');
  if (!AllDigits(field)) {
    field = resetText;
    prompts.Message(message);
    return false;
  }
  if (field.size() < width) field.insert(0, width - field.size(), '0');
  return true;
}

}  // namespace

void SelectZhrm(Workspace& ws) {
  CopyActiveChannel(ws);
  if (const DeviceType* type = DeviceTypeTable::Find(ws.device.typeText)) ApplyType(ws, *type);
  LoadBaseFile(ws);
  ws.device.Notify();
}

bool Set_Zhrm(Workspace& ws) {
  ActiveDevice& d = ws.device;
  DeviceAddresses& a = ws.link.Addresses();
  if (!CompleteNumber(d.zhrmNumber, 4, "0001", "Неверный номер ЖРМ !!!", ws.prompts)) {
    return false;
  }
  a.zhrmAddress = BcdFromDigits(std::string_view(d.zhrmNumber).substr(0, 4));
  if (!CompleteNumber(d.kkmNumber, 8, "00000001", "Неверный номер ККМ !!!", ws.prompts)) {
    return false;
  }
  a.kkmAddress = BcdFromDigits(std::string_view(d.kkmNumber).substr(4, 4));
  a.kkmAddressLow = static_cast<uint8_t>(a.kkmAddress & 0xFF);
  if (!DeviceTypeTable::IsAcceptedName(d.typeText)) {
    ws.prompts.Message("Неверная версия ЖРМ !!!");
    return false;
  }
  // A network server's refusal may have come in after the profile was set.
  ws.port.ReportLineProblem();
  return true;
}

bool ActivateChannelForServer(Workspace& ws, int n) {
  if (n < 1 || n > kChannelCount || ws.channels.Channel(n).disconnected) return false;
  ws.channels.frontPage = n;
  ws.channels.MarkActive(n);
  SelectZhrm(ws);
  return true;
}

}  // namespace zel
