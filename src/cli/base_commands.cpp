// read, write, read-accounting, reset-accounting, clear.
#include "cli/commands.h"
#include "operations/operations.h"

namespace zel::cli {

int RunRead(Session& s, const CliArgs& args) {
  if (!CheckDevice(s)) return kExitUsage;
  s.prompts.AnswerYesNoCancel(args.withAccounting ? Answer::Yes : Answer::No);
  const OperationWatch watch(s);
  ReadActiveBase(s.ws);
  return watch.ExitCode();
}

int RunWrite(Session& s, const CliArgs& args) {
  if (!CheckDevice(s)) return kExitUsage;
  // The products the file lacks would reach the device as empty ones.
  if (s.ws.run.shortBaseLoads > 0) {
    s.console.Note("zelbase-cli: nothing written: the base file is shorter than the range");
    return kExitFailure;
  }
  // The command itself is the operator's yes to "write the base?".
  s.prompts.ConsentYesNo(true);
  s.ws.options.blockKkm = args.lock;
  const OperationWatch watch(s);
  WriteActiveBase(s.ws);
  return watch.ExitCode();
}

int RunReadAccounting(Session& s) {
  if (!CheckDevice(s)) return kExitUsage;
  const OperationWatch watch(s);
  return watch.ExitCode(ReadAccounting(s.ws));
}

int RunResetAccounting(Session& s, const CliArgs& args) {
  if (!CheckDevice(s)) return kExitUsage;
  if (args.yes) s.prompts.ConsentYesNo(true);
  s.ws.options.blockKkm = args.lock;
  const OperationWatch watch(s);
  ResetAccounting(s.ws);
  return watch.ExitCode();
}

int RunClear(Session& s, const CliArgs& args) {
  if (args.yes) s.prompts.ConsentYesNo(true);
  const OperationWatch watch(s);
  ClearTable(s.ws);
  return watch.ExitCode();
}

}  // namespace zel::cli
