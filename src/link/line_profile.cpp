#include "link/line_profile.h"

#include <array>
#include <string_view>

namespace zel {
namespace {

constexpr std::array<std::string_view, 5> kOfferedSpeeds = {"9600", "19200", "38400", "57600",
                                                            "115200"};
// The ЖРМ 1.5 family runs at a non-standard rate the port must take as it is.
constexpr uint32_t kZhrm15Baud = 10416;
constexpr uint32_t kZhrm20Baud = 19200;
constexpr uint32_t kRegisterBaud = 9600;

}  // namespace

bool IsOfferedSpeed(const std::string& speedText) {
  for (std::string_view s : kOfferedSpeeds) {
    if (speedText == s) return true;
  }
  return false;
}

LineProfile LineProfileFor(LineFamily family, std::string& speedText, ProfileContext context) {
  LineProfile p;
  switch (family) {
    case LineFamily::Zhrm15:
      p.baud = kZhrm15Baud;
      p.parity = Parity::None;
      p.dtrRaised = true;
      break;
    case LineFamily::Zhrm20:
      p.baud = kZhrm20Baud;
      p.parity = Parity::None;
      p.dtrRaised = true;
      break;
    case LineFamily::Zhrm3:
      if (!IsOfferedSpeed(speedText)) speedText = "9600";
      p.baud = static_cast<uint32_t>(std::stoul(speedText));
      if (context == ProfileContext::ChannelActivated) p.parity = Parity::None;
      break;
    case LineFamily::Register:
      p.baud = kRegisterBaud;
      if (context == ProfileContext::DialogClosed) p.flags = kFlagsBinaryOnly;
      break;
  }
  return p;
}

}  // namespace zel
