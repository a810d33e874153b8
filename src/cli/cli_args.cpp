#include "cli/cli_args.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace zel::cli {
namespace {

// Flags that only some commands take.
enum Flag : unsigned {
  kYesFlag = 1,
  kAccountingFlag = 2,
  kLockFlag = 4,
  kWatchFlag = 8,
  kFormatFlag = 16,
};

enum class Operands { None, File, Block, BlockFile };

struct CommandShape {
  std::string_view first;
  std::string_view second;  ///< empty for one-word commands
  Command command;
  Operands operands;
  unsigned flags;
};

constexpr CommandShape kCommands[] = {
    {"read", "", Command::Read, Operands::None, kAccountingFlag},
    {"write", "", Command::Write, Operands::None, kLockFlag | kYesFlag},
    {"read-accounting", "", Command::ReadAccounting, Operands::None, 0},
    {"reset-accounting", "", Command::ResetAccounting, Operands::None, kYesFlag | kLockFlag},
    {"clear", "", Command::Clear, Operands::None, kYesFlag},
    {"export", "", Command::Export, Operands::File, kFormatFlag},
    {"import", "", Command::Import, Operands::File, 0},
    {"tapes", "list", Command::TapesList, Operands::None, 0},
    {"tapes", "read", Command::TapesRead, Operands::Block, 0},
    {"tapes", "save-list", Command::TapesSaveList, Operands::File, kFormatFlag},
    {"tapes", "save", Command::TapesSave, Operands::BlockFile, kFormatFlag},
    {"tapes", "clear", Command::TapesClear, Operands::None, kYesFlag},
    {"last-barcode", "", Command::LastBarcode, Operands::None, kWatchFlag},
    {"channels", "", Command::Channels, Operands::None, 0},
    {"show", "", Command::Show, Operands::None, 0},
    {"history", "", Command::History, Operands::None, 0},
    {"restore", "", Command::Restore, Operands::File, kYesFlag},
    {"diff", "", Command::Diff, Operands::File, 0},
};

constexpr int kMaxBlockNumber = 255;

struct FlagName {
  std::string_view name;
  Flag flag;
};
constexpr FlagName kFlagNames[] = {{"--yes", kYesFlag},
                                   {"--with-accounting", kAccountingFlag},
                                   {"--lock", kLockFlag},
                                   {"--watch", kWatchFlag},
                                   {"--format", kFormatFlag}};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Digits only, at most `max`; nullopt otherwise.
std::optional<int> SmallNumber(std::string_view text, int max) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n < 1 || n > max) return std::nullopt;
  return n;
}

class Parser {
 public:
  explicit Parser(CliArgs& out) : out_(out) {}

  void Run(const std::vector<std::string>& args);

 private:
  void Fail(std::string message) {
    if (out_.error.empty()) out_.error = std::move(message);
  }
  bool TakeSwitch(std::string_view arg);
  void TakeValue(std::string_view name, const std::string& value);
  void TakeOption(const std::vector<std::string>& args, std::size_t& i);
  void TakeCommand();
  void TakeOperands(const CommandShape& shape, std::size_t first);
  void CheckFlags(const CommandShape& shape);

  CliArgs& out_;
  std::vector<std::string> words_;
  unsigned flagsGiven_ = 0;
};

bool Parser::TakeSwitch(std::string_view arg) {
  if (arg == "--help" || arg == "-h") {
    out_.help = true;
  } else if (arg == "--demo") {
    out_.demo = true;
  } else if (arg == "--yes") {
    out_.yes = true;
  } else if (arg == "--with-accounting") {
    out_.withAccounting = true;
  } else if (arg == "--lock") {
    out_.lock = true;
  } else if (arg == "--watch") {
    out_.watch = true;
  } else {
    return false;
  }
  for (const FlagName& f : kFlagNames) {
    if (f.name == arg) flagsGiven_ |= f.flag;
  }
  return true;
}

void Parser::TakeValue(std::string_view name, const std::string& value) {
  if (name == "--data-dir") {
    if (value.empty()) Fail("--data-dir needs a folder");
    out_.dataDir = value;
  } else if (name == "--trace") {
    if (value.empty()) Fail("--trace needs a file name");
    out_.traceFile = value;
  } else if (name == "--channel") {
    out_.channel = SmallNumber(value, 16);
    if (!out_.channel) Fail("--channel takes a number from 1 to 16, not \"" + value + "\"");
  } else if (name == "--range") {
    const std::size_t dash = value.find('-');
    if (dash == std::string::npos) Fail("--range takes FIRST-LAST, e.g. 1-300");
    out_.rangeGiven = true;
    out_.rangeFirst = value.substr(0, dash);
    out_.rangeLast = dash == std::string::npos ? "" : value.substr(dash + 1);
  } else {
    out_.format = Lower(value);
    flagsGiven_ |= kFormatFlag;
    if (out_.format != "csv" && out_.format != "txt" && out_.format != "zlb") {
      Fail("--format takes csv, txt or zlb, not \"" + value + "\"");
    }
  }
}

void Parser::TakeOption(const std::vector<std::string>& args, std::size_t& i) {
  const std::string& arg = args[i];
  if (TakeSwitch(arg)) return;
  const std::size_t eq = arg.find('=');
  const std::string name = arg.substr(0, eq);
  if (name != "--data-dir" && name != "--trace" && name != "--channel" && name != "--range" &&
      name != "--format") {
    return Fail("unknown option " + arg);
  }
  if (eq != std::string::npos) return TakeValue(name, arg.substr(eq + 1));
  if (i + 1 >= args.size()) return Fail(name + " needs a value");
  TakeValue(name, args[++i]);
}

void Parser::Run(const std::vector<std::string>& args) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      TakeOption(args, i);
    } else {
      words_.push_back(arg);
    }
  }
  if (out_.help) return;
  if (words_.empty()) return Fail("no command given");
  TakeCommand();
}

void Parser::TakeCommand() {
  for (const CommandShape& shape : kCommands) {
    if (words_[0] != shape.first) continue;
    if (!shape.second.empty() && (words_.size() < 2 || words_[1] != shape.second)) continue;
    out_.command = shape.command;
    TakeOperands(shape, shape.second.empty() ? 1 : 2);
    CheckFlags(shape);
    return;
  }
  if (words_[0] == "tapes") {
    return Fail("tapes takes list, read K, save-list FILE, save K FILE or clear");
  }
  Fail("unknown command " + words_[0]);
}

void Parser::TakeOperands(const CommandShape& shape, std::size_t first) {
  const std::size_t count = words_.size() - first;
  const bool block = shape.operands == Operands::Block || shape.operands == Operands::BlockFile;
  const bool file = shape.operands == Operands::File || shape.operands == Operands::BlockFile;
  const std::size_t wanted = (block ? 1 : 0) + (file ? 1 : 0);
  std::string name(shape.first);
  if (!shape.second.empty()) name += " " + std::string(shape.second);
  if (count != wanted) {
    const char* shape = block && file ? " K FILE" : block ? " K" : file ? " FILE" : "";
    return Fail("usage: " + name + shape);
  }
  if (block) {
    const std::optional<int> k = SmallNumber(words_[first], kMaxBlockNumber);
    if (!k) return Fail("block K must be a number from 1, not \"" + words_[first] + "\"");
    out_.block = *k;
  }
  if (file) {
    out_.file = words_[first + (block ? 1 : 0)];
    if (out_.file.empty()) Fail(name + " needs a file name");
  }
}

void Parser::CheckFlags(const CommandShape& shape) {
  for (const FlagName& f : kFlagNames) {
    if ((flagsGiven_ & f.flag) && !(shape.flags & f.flag)) {
      std::string name(shape.first);
      if (!shape.second.empty()) name += " " + std::string(shape.second);
      return Fail(std::string(f.name) + " does not apply to " + name);
    }
  }
}

std::string Extension(const std::string& file) {
  const std::size_t slash = file.find_last_of('/');
  const std::size_t dot = file.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return Lower(std::string_view(file).substr(dot + 1));
}

}  // namespace

CliArgs ParseCliArgs(const std::vector<std::string>& args) {
  CliArgs out;
  Parser(out).Run(args);
  return out;
}

std::string ChosenFormat(const CliArgs& args, const std::vector<std::string>& allowed) {
  const std::string chosen = args.format.empty() ? Extension(args.file) : args.format;
  return std::find(allowed.begin(), allowed.end(), chosen) != allowed.end() ? chosen : "";
}

}  // namespace zel::cli
