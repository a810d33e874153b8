#include "cli/commands.h"

#include "base/active_device.h"
#include "cli/interrupt.h"

namespace zel::cli {

int OperationWatch::ExitCode(bool succeeded) const {
  if (s_.prompts.Refused()) return kExitUsage;
  if (s_.progress.Stopped() || InterruptRequested()) {
    s_.console.Note("zelbase-cli: stopped");
    return kExitFailure;
  }
  return succeeded && s_.prompts.ShownCount() == shown_ ? kExitOk : kExitFailure;
}

bool CheckDevice(Session& s) {
  if (!Set_Zhrm(s.ws)) return false;
  if (s.port.CurrentPath().empty()) {
    s.console.Note("zelbase-cli: no COM port is chosen in the settings");
  } else if (!s.link.PortValid()) {
    const std::string problem = s.port.PortProblem();
    s.console.Note("zelbase-cli: port " + s.port.CurrentPath() + " is not open" +
                   (problem.empty() ? "" : ": " + problem));
  }
  return true;
}

namespace {

bool ReadsRange(Command c) {
  switch (c) {
    case Command::Read:
    case Command::Write:
    case Command::ReadAccounting:
    case Command::ResetAccounting:
    case Command::Clear:
    case Command::Export:
    case Command::Import:
    case Command::Show:
      return true;
    default:
      return false;
  }
}

int RunOne(Session& s, const CliArgs& args) {
  switch (args.command) {
    case Command::Read:
      return RunRead(s, args);
    case Command::Write:
      return RunWrite(s, args);
    case Command::ReadAccounting:
      return RunReadAccounting(s);
    case Command::ResetAccounting:
      return RunResetAccounting(s, args);
    case Command::Clear:
      return RunClear(s, args);
    case Command::Export:
      return RunExport(s, args);
    case Command::Import:
      return RunImport(s, args);
    case Command::TapesList:
    case Command::TapesRead:
    case Command::TapesSaveList:
    case Command::TapesSave:
    case Command::TapesClear:
      return RunTapes(s, args);
    case Command::LastBarcode:
      return RunLastBarcode(s, args);
    case Command::Channels:
      return RunChannels(s);
    case Command::Show:
      return RunShow(s);
    case Command::History:
      return RunHistory(s);
    case Command::Restore:
      return RunRestore(s, args);
    case Command::Diff:
      return RunDiff(s, args);
  }
  return kExitUsage;
}

}  // namespace

int RunCommand(Session& s, const CliArgs& args) {
  const int code = RunOne(s, args);
  // The short base file was named on stderr when it was loaded; the range
  // the command worked on was not all in it.
  const bool shortBase = s.ws.run.shortBaseLoads > 0 && ReadsRange(args.command);
  return code == kExitOk && shortBase ? kExitFailure : code;
}

}  // namespace zel::cli
