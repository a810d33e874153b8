// Speed, flag word and DTR per device family, applied when a channel becomes
// active and when the port dialog closes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/line_settings.h"

namespace zel {

enum class LineFamily { Zhrm15, Zhrm20, Zhrm3, Register };

struct LineProfile {
  uint32_t baud = 9600;
  std::optional<Parity> parity;   ///< unset: parity left as it is
  std::optional<uint16_t> flags;  ///< unset: flag word left as it is
  bool dtrRaised = false;
};

/// The speeds the port dialog offers for the ЖРМ 3 family.
bool IsOfferedSpeed(const std::string& speedText);

/// Where a profile is applied: the port dialog's close also sets the cash
/// register's flag word, a channel change leaves it alone.
enum class ProfileContext { ChannelActivated, DialogClosed };

/// The profile of a family. For the ЖРМ 3 family the speed comes from the
/// dialog's speed text, which is first reset to "9600" when it is not one of
/// the offered speeds.
LineProfile LineProfileFor(LineFamily family, std::string& speedText,
                           ProfileContext context = ProfileContext::ChannelActivated);

}  // namespace zel
