// Opening and configuring the one serial port: the start-up open, the
// re-open from the port dialog (set_p) and the line profile per family.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/prompts.h"
#include "link/byte_port.h"
#include "link/line_profile.h"
#include "link/link.h"
#include "link/spy_port.h"

namespace zel {

inline constexpr int kComPorts = 8;

/// Opens a device path; returns null when it cannot be opened. The path
/// "sim" selects the built-in virtual line.
using PortOpener = std::function<std::shared_ptr<BytePort>(const std::string& path)>;

/// Opens "sim" through `simLine` (may be null), "rfc2217://HOST:PORT" as a
/// network serial server and anything else as a tty. With `trace`, every
/// port opened is traced into it, and so is every open that fails.
PortOpener DefaultPortOpener(std::shared_ptr<BytePort> simLine,
                             std::shared_ptr<TraceLog> trace = nullptr);

class PortSetup {
 public:
  PortSetup(Link& link, PortOpener opener);

  /// COM1..COM8 as 0..7 (the checked radio button); -1 when none is checked.
  int comIndex = 0;
  /// Device path of each COM choice (settings keys "Com1Path".."Com8Path").
  std::array<std::string, kComPorts> comPaths;
  /// The speed box of the dialog ("BaudRate").
  std::string speedText = "9600";
  /// Shows a speed or parity the port could not set (an adapter that turns
  /// 10416 into 14400); null: nothing is shown.
  std::function<void(const std::string&)> showLineProblem;

  /// Start-up open: queue sizes 30000, basic settings, time-outs, purge.
  /// Shows nothing when the port cannot be opened.
  void OpenAtStartup();
  /// "Инициализация": close, re-open, tell the user; true when opened.
  bool set_p(Prompts& prompts);
  /// Sets the five port time-outs.
  void Com_Timeouts();
  /// Discards both queues and releases the port.
  void ResetPort();
  /// Reads the port's settings and applies mark or space parity.
  void MySetup(bool mark);
  /// Applies the family's line profile to the held settings and the port.
  void ApplyLineProfile(LineFamily family,
                        ProfileContext context = ProfileContext::ChannelActivated);

  /// Shows the port's line problem unless it was shown since the port was
  /// opened or its line profile changed. Done after each of those and before
  /// every device operation.
  void ReportLineProblem();
  /// Opens the port as at start-up and applies the line profile that was in
  /// force, for a program that goes on serving its clients after a close.
  void ReopenWithProfile();

  /// The path behind the current COM choice; empty when none is checked.
  std::string CurrentPath() const;
  /// Problem the port reported when it was opened or configured (e.g. an
  /// adapter that cannot hold the speed); empty when none.
  std::string PortProblem() const;

 private:
  bool OpenPath();
  void Configure(std::size_t queueBytes);

  Link& link_;
  PortOpener opener_;
  struct AppliedProfile {
    LineFamily family;
    ProfileContext context;
  };
  std::optional<AppliedProfile> profile_;  ///< the last one applied
  std::string lineProblemShown_;
};

/// Default device paths: "/dev/ttyS0".."/dev/ttyS7".
std::array<std::string, kComPorts> DefaultComPaths();

}  // namespace zel
