#include "operations/family_rules.h"

namespace zel {
namespace {

constexpr const char* kDevice = "Ошибка RS-232 или неверный номер прибора";
constexpr const char* kRegister = "Ошибка RS-232 или неверный номер ККМ";

constexpr FamilyRules kZhrm15 = {
    .readBaseFailed = "Ошибка RS-232 или неверный номер ЖРМ 1.5",
    .writeBaseFailed = kDevice,
    .readAccountingFailed = "Ошибка RS-232 или неверный номер ЖРМ 1.5",
    .resetAccountingFailed = kDevice,
    .accountingReadAttempts = 1,
    .eventsBetweenReadAttempts = false,
    .failedReadRestartsRange = false,
    .lockFramesWrites = true,
    .readFillsColumn6 = true,
    .serverReadFillsColumn6 = true,
};
constexpr FamilyRules kZhrm20 = {
    .readBaseFailed = "Ошибка RS-232 или неверный номер прибора.",
    .writeBaseFailed = kDevice,
    .readAccountingFailed = "Ошибка RS-232 или неверный номер ЖРМ 2",
    .resetAccountingFailed = kDevice,
    .accountingReadAttempts = kAttempts,
    .eventsBetweenReadAttempts = true,
    .failedReadRestartsRange = false,
    .lockFramesWrites = true,
    .readFillsColumn6 = false,
    .serverReadFillsColumn6 = false,
};
constexpr FamilyRules kZhrm3 = {
    .readBaseFailed = "Ошибка RS-232 или неверный номер ЖРМ 3",
    .writeBaseFailed = kDevice,
    .readAccountingFailed = "Ошибка RS-232 или неверный номер ЖРМ 3(+)",
    .resetAccountingFailed = kDevice,
    .accountingReadAttempts = kAttempts,
    .eventsBetweenReadAttempts = false,
    .failedReadRestartsRange = true,
    .lockFramesWrites = false,
    .readFillsColumn6 = true,
    .serverReadFillsColumn6 = false,
};
constexpr FamilyRules kRegisterRules = {
    .readBaseFailed = kRegister,
    .writeBaseFailed = kRegister,
    .readAccountingFailed = kRegister,
    .resetAccountingFailed = kRegister,
    .accountingReadAttempts = kAttempts,
    .eventsBetweenReadAttempts = true,
    .failedReadRestartsRange = false,
    .lockFramesWrites = false,
    .readFillsColumn6 = true,
    .serverReadFillsColumn6 = true,
};

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
