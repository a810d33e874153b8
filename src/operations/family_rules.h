// How the long operations differ per device family: failure messages,
// attempts, and what a failed read does to the range.
#pragma once

#include <string>

#include "link/line_profile.h"

namespace zel {

struct FamilyRules {
  const char* readBaseFailed;
  const char* writeBaseFailed;
  const char* readAccountingFailed;
  const char* resetAccountingFailed;
  /// Attempts of one accounting read (the ЖРМ 1.5 frame retries by itself).
  int accountingReadAttempts;
  /// Window events are processed after each failed read attempt.
  bool eventsBetweenReadAttempts;
  /// A failed read puts `CurrentRecord` back to the range start field.
  bool failedReadRestartsRange;
  /// Writes and accounting resets are framed by the register lock when
  /// "Блокировка ККМ" is ticked.
  bool lockFramesWrites;
  /// The window's base read fills column 6 from the device record.
  bool readFillsColumn6;
  /// The server's base read fills column 6 from the device record.
  bool serverReadFillsColumn6;
};

const FamilyRules& RulesOf(LineFamily family);

/// Shown instead of the read message when a ЖРМ 2.0 reported corrupt data.
inline constexpr const char* kCorruptBaseMessage =
    "Обнаружены некорректные данные в базе. Необходима перезапись базы.";

/// Attempts per record or block, as a rule.
inline constexpr int kAttempts = 5;

/// Calls `attempt` until it returns true, `attempts` times at most, with
/// `afterFailure` after each failed call. False when every call failed.
template <typename Attempt, typename AfterFailure>
bool TryUpTo(int attempts, Attempt attempt, AfterFailure afterFailure) {
  for (int i = 0; i < attempts; ++i) {
    if (attempt()) return true;
    afterFailure();
  }
  return false;
}

/// The same, the attempts following one another directly.
template <typename Attempt>
bool TryUpTo(int attempts, Attempt attempt) {
  return TryUpTo(attempts, attempt, [] {});
}

}  // namespace zel
