// One run of zelbase-cli: the program folder, the port (the demo line or a
// real one, traced on request), the workspace the operations share, and
// the settings loaded from ZELBase.ini with this run's channel and range.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "base/settings.h"
#include "base/workspace.h"
#include "cli/cli_args.h"
#include "cli/cli_hosts.h"
#include "cli/cli_prompts.h"
#include "cli/console.h"
#include "link/clock.h"
#include "link/link.h"
#include "link/port_setup.h"
#include "link/spy_port.h"
#include "sim/simulated_line.h"

namespace zel::cli {

/// Where the run keeps its files and what it traces into.
struct SessionPlan {
  std::filesystem::path folder;
  std::shared_ptr<TraceLog> trace;  ///< null: no trace
  bool demo = false;
};

/// Resolves the folder (creating the demo folder and its settings, and
/// "Base"), opens the trace file. Returns an exit code: kExitOk to go on.
int PlanSession(const CliArgs& args, Console& console, SessionPlan& plan);

class Session {
 public:
  Session(const SessionPlan& plan, Console& console);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  /// Loads the settings, then activates --channel and confirms --range.
  /// Returns an exit code: kExitOk to go on.
  int Start(const CliArgs& args);

  Console& console;
  SteadyClock clock;
  std::shared_ptr<SimulatedLine> line;  ///< the built-in line with the demo network
  Link link;
  PortSetup port;
  CliPrompts prompts;
  CliProgress progress;
  CancelDisconnect warning;
  Workspace ws;
  Settings settings;

 private:
  int SelectChannel(int n);
  int ConfirmRangeOfRun(const CliArgs& args);
};

}  // namespace zel::cli
