// The commands of zelbase-cli. Each runs the window's operation on the
// session's workspace and turns what the operation showed and returned
// into an exit code.
#pragma once

#include "cli/cli_args.h"
#include "cli/session.h"
#include "exchange/file_dialogs.h"

namespace zel::cli {

/// Runs the command of `args` in a started session; returns the exit code.
int RunCommand(Session& s, const CliArgs& args);

/// Watches one operation from its construction on.
class OperationWatch {
 public:
  explicit OperationWatch(Session& s) : s_(s), shown_(s.prompts.ShownCount()) {}

  /// kExitUsage when a question was refused; kExitFailure when Ctrl-C
  /// stopped it, it showed any message, or `succeeded` is false.
  int ExitCode(bool succeeded = true) const;

 private:
  Session& s_;
  int shown_;
};

/// Checks the active device's numbers and type as every device operation
/// does first; false (message shown) is a validation failure.
bool CheckDevice(Session& s);

int RunRead(Session& s, const CliArgs& args);
int RunWrite(Session& s, const CliArgs& args);
int RunReadAccounting(Session& s);
int RunResetAccounting(Session& s, const CliArgs& args);
int RunClear(Session& s, const CliArgs& args);

/// Index of the dialog's file type with extension `ext`; -1 when none.
int FilterIndexOf(const FileDialogState& dialog, const std::string& ext);
/// Tells the operator when the window's name completion changed the name.
void NoteWrittenName(Session& s, const std::string& given, const std::string& written);

int RunExport(Session& s, const CliArgs& args);
int RunImport(Session& s, const CliArgs& args);

int RunTapes(Session& s, const CliArgs& args);

int RunLastBarcode(Session& s, const CliArgs& args);
int RunChannels(Session& s);
int RunShow(Session& s);

int RunHistory(Session& s);
int RunRestore(Session& s, const CliArgs& args);
int RunDiff(Session& s, const CliArgs& args);

}  // namespace zel::cli
