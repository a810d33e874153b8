#include "operations/family_rules.h"

namespace zel {
namespace {

constexpr const char* kDevice = "Ошибка RS-232 или неверный номер прибора";
constexpr const char* kRegister = "Ошибка RS-232 или неверный номер ККМ";

constexpr FamilyRules kZhrm15 = {"Ошибка RS-232 или неверный номер ЖРМ 1.5",
                                 kDevice,
                                 "Ошибка RS-232 или неверный номер ЖРМ 1.5",
                                 kDevice,
                                 1,
                                 false,
                                 false,
                                 true};
constexpr FamilyRules kZhrm20 = {"Ошибка RS-232 или неверный номер прибора.",
                                 kDevice,
                                 "Ошибка RS-232 или неверный номер ЖРМ 2",
                                 kDevice,
                                 kAttempts,
                                 true,
                                 false,
                                 true};
constexpr FamilyRules kZhrm3 = {"Ошибка RS-232 или неверный номер ЖРМ 3",
                                kDevice,
                                "Ошибка RS-232 или неверный номер ЖРМ 3(+)",
                                kDevice,
                                kAttempts,
                                false,
                                true,
                                false};
constexpr FamilyRules kRegisterRules = {kRegister, kRegister, kRegister, kRegister,
                                        kAttempts, true,      false,     false};

}  // namespace

const FamilyRules& RulesOf(LineFamily family) {
  switch (family) {
    case LineFamily::Zhrm15:
      return kZhrm15;
    case LineFamily::Zhrm20:
      return kZhrm20;
    case LineFamily::Zhrm3:
      return kZhrm3;
    case LineFamily::Register:
      return kRegisterRules;
  }
  return kZhrm3;
}

}  // namespace zel
