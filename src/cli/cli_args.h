// The command line of zelbase-cli: global options, one command with its
// operands, and the flags that stand in for the window's questions.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zel::cli {

/// Exit codes, as `zelbase-cli --help` documents them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  ///< device or file failure, or stopped
inline constexpr int kExitUsage = 2;    ///< bad usage or validation

enum class Command {
  Read,
  Write,
  ReadAccounting,
  ResetAccounting,
  Clear,
  Export,
  Import,
  TapesList,
  TapesRead,
  TapesSaveList,
  TapesSave,
  TapesClear,
  LastBarcode,
  Channels,
  Show,
  History,
  Restore,
  Diff,
};

struct CliArgs {
  bool help = false;
  std::string dataDir;  ///< empty: the default folder
  bool demo = false;
  std::string traceFile;
  std::optional<int> channel;  ///< 1..16
  bool rangeGiven = false;
  std::string rangeFirst;  ///< texts for the range fields, checked by the range rules
  std::string rangeLast;
  bool yes = false;
  bool withAccounting = false;
  bool lock = false;
  bool watch = false;
  std::string format;  ///< "csv", "txt", "zlb" or empty

  Command command = Command::Show;
  int block = 0;      ///< K of "tapes read K" and "tapes save K FILE"
  std::string file;   ///< FILE operand
  std::string error;  ///< non-empty when the arguments cannot be run
};

/// Parses argv[1..]. Options may come before or after the command; "--"
/// ends them. `error` says what is wrong; `help` wins over everything.
CliArgs ParseCliArgs(const std::vector<std::string>& args);

/// The file type a command writes or reads: the --format value, else the
/// file's extension (any letter case). Empty when neither names one of
/// `allowed` (e.g. {"csv", "txt"}).
std::string ChosenFormat(const CliArgs& args, const std::vector<std::string>& allowed);

/// Text of `zelbase-cli --help`: usage, commands, flags and exit codes.
std::string UsageText();

}  // namespace zel::cli
