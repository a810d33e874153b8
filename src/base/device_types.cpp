#include "base/device_types.h"

#include <array>

namespace zel {
namespace {

constexpr int64_t kPriceCents = 999'999'999;         // 9999999.99
constexpr int64_t kRegisterPriceCents = 99'999'999;  // 999999.99

// name, capacity, columns, heading 6, heading 7, column 6, column 7, price,
// section min..max, aligned, tapes, "Блокировка ККМ", ЖРМ №, ККМ №, family,
// device name characters, server exchanges, server section max.
constexpr std::array<DeviceType, 7> kTypes = {{
    {kTypeZhrm15, 4096, 6, "Весы", "", Column6Rule::None, false, kPriceCents, 1, 7, true, false,
     true, true, true, LineFamily::Zhrm15, 12, true, 7},
    {kTypeZhrm15v, 4096, 7, "Весы", "", Column6Rule::ScalesFlag, false, kPriceCents, 1, 7, true,
     false, true, true, true, LineFamily::Zhrm15, 12, true, 7},
    {kTypeZhrm20, 4096, 6, "", "", Column6Rule::None, false, kPriceCents, 1, 7, false, false, true,
     true, false, LineFamily::Zhrm20, 12, true, 7},
    {kTypeZhrm3, 4096, 7, "Весы", "", Column6Rule::Digits, false, kPriceCents, 0, 9, false, true,
     false, true, false, LineFamily::Zhrm3, 12, true, 7},
    {kTypeZhrm3Plus, 12288, 7, "Весы", "", Column6Rule::Digits, false, kPriceCents, 0, 9, false,
     true, false, true, false, LineFamily::Zhrm3, 12, true, 7},
    {kTypeZhrm200, 11234, 8, "Тов. группа", "Весы", Column6Rule::Digits, true, kPriceCents, 0, 9,
     false, true, false, true, false, LineFamily::Zhrm3, 17, false, 7},
    {kTypeRegister, 4000, 7, "Тов. группа", "", Column6Rule::ProductGroup, false,
     kRegisterPriceCents, 1, 8, false, false, true, false, true, LineFamily::Register, 16, true,
     16},
}};

// Rules for a type text that names no type: the common 4096-product limits.
constexpr DeviceType kUnknown = {
    "",    4096,  6,    "",   "",   Column6Rule::Digits, false, kPriceCents, 0, 9,
    false, false, true, true, true, LineFamily::Zhrm15,  12,    false,       7};

}  // namespace

std::span<const DeviceType> DeviceTypeTable::All() {
  return kTypes;
}

const DeviceType* DeviceTypeTable::Find(std::string_view name) {
  for (const DeviceType& t : kTypes) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

const DeviceType& DeviceTypeTable::RulesFor(std::string_view name) {
  const DeviceType* t = Find(name);
  return t ? *t : kUnknown;
}

bool DeviceTypeTable::IsAcceptedName(std::string_view name) {
  return Find(name) != nullptr || name == kTypeRegisterLatin;
}

std::vector<std::string> DeviceTypeTable::DialogList(int channel) {
  std::vector<std::string> list = {std::string(kTypeZhrm15), std::string(kTypeZhrm15v),
                                   std::string(kTypeZhrm3),  std::string(kTypeZhrm3Plus),
                                   std::string(kTypeZhrm20), std::string(kTypeRegister)};
  if (channel == 1) list.emplace_back(kTypeZhrm200);
  return list;
}

std::string DeviceTypeTable::RangeMessage(const DeviceType& type, bool emptyStart) {
  const bool threeDots = emptyStart && type.capacity != 11234;
  return std::string("Диапазон базы должен быть в пределах 1") + (threeDots ? "..." : "..") +
         std::to_string(type.capacity);
}

}  // namespace zel
