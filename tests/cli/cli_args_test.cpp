// The argument parser of zelbase-cli, in process.
#include "cli/cli_args.h"

#include <gtest/gtest.h>

namespace zel::cli {
namespace {

TEST(CliArgs, TakesGlobalOptionsBeforeTheCommand) {
  const CliArgs a = ParseCliArgs({"--data-dir", "d", "--demo", "--trace", "t.log", "--channel", "5",
                                  "--range", "1-8", "read", "--with-accounting"});
  EXPECT_EQ(a.error, "");
  EXPECT_EQ(a.dataDir, "d");
  EXPECT_TRUE(a.demo);
  EXPECT_EQ(a.traceFile, "t.log");
  EXPECT_EQ(a.channel, 5);
  EXPECT_TRUE(a.rangeGiven);
  EXPECT_EQ(a.rangeFirst, "1");
  EXPECT_EQ(a.rangeLast, "8");
  EXPECT_EQ(a.command, Command::Read);
  EXPECT_TRUE(a.withAccounting);
}

TEST(CliArgs, TakesOptionsAfterTheCommandAndWithEquals) {
  const CliArgs a = ParseCliArgs({"export", "out.csv", "--channel=16", "--format=TXT"});
  EXPECT_EQ(a.error, "");
  EXPECT_EQ(a.command, Command::Export);
  EXPECT_EQ(a.file, "out.csv");
  EXPECT_EQ(a.channel, 16);
  EXPECT_EQ(a.format, "txt");
}

TEST(CliArgs, DoubleDashEndsTheOptions) {
  const CliArgs a = ParseCliArgs({"import", "--", "--odd-name.txt"});
  EXPECT_EQ(a.error, "");
  EXPECT_EQ(a.file, "--odd-name.txt");
}

TEST(CliArgs, HelpWinsOverAnythingElse) {
  const CliArgs a = ParseCliArgs({"frobnicate", "--help", "--bogus"});
  EXPECT_TRUE(a.help);
}

TEST(CliArgs, RangeKeepsItsTextsForTheRangeCheck) {
  const CliArgs a = ParseCliArgs({"--range", "0010-x", "show"});
  EXPECT_EQ(a.error, "");
  EXPECT_EQ(a.rangeFirst, "0010");
  EXPECT_EQ(a.rangeLast, "x");
}

struct CommandCase {
  std::vector<std::string> args;
  Command command;
  int block;
  std::string file;
};

TEST(CliArgs, NamesEveryCommandWithItsOperands) {
  const CommandCase cases[] = {
      {{"read"}, Command::Read, 0, ""},
      {{"write", "--lock", "--yes"}, Command::Write, 0, ""},
      {{"read-accounting"}, Command::ReadAccounting, 0, ""},
      {{"reset-accounting", "--yes", "--lock"}, Command::ResetAccounting, 0, ""},
      {{"clear", "--yes"}, Command::Clear, 0, ""},
      {{"export", "f.zlb"}, Command::Export, 0, "f.zlb"},
      {{"import", "f.txt"}, Command::Import, 0, "f.txt"},
      {{"tapes", "list"}, Command::TapesList, 0, ""},
      {{"tapes", "read", "3"}, Command::TapesRead, 3, ""},
      {{"tapes", "save-list", "b.csv"}, Command::TapesSaveList, 0, "b.csv"},
      {{"tapes", "save", "18", "t.txt"}, Command::TapesSave, 18, "t.txt"},
      {{"tapes", "clear", "--yes"}, Command::TapesClear, 0, ""},
      {{"last-barcode", "--watch"}, Command::LastBarcode, 0, ""},
      {{"channels"}, Command::Channels, 0, ""},
      {{"show"}, Command::Show, 0, ""},
  };
  for (const CommandCase& c : cases) {
    const CliArgs a = ParseCliArgs(c.args);
    EXPECT_EQ(a.error, "") << c.args[0];
    EXPECT_EQ(a.command, c.command) << c.args[0];
    EXPECT_EQ(a.block, c.block) << c.args[0];
    EXPECT_EQ(a.file, c.file) << c.args[0];
  }
}

struct BadCase {
  std::vector<std::string> args;
  std::string error;
};

TEST(CliArgs, RejectsWhatCannotRunWithAReason) {
  const BadCase cases[] = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command frobnicate"},
      {{"read", "--bogus"}, "unknown option --bogus"},
      {{"--channel", "0", "show"}, "--channel takes a number from 1 to 16"},
      {{"--channel", "17", "show"}, "--channel takes a number from 1 to 16"},
      {{"--channel", "x", "show"}, "--channel takes a number from 1 to 16"},
      {{"show", "--channel"}, "--channel needs a value"},
      {{"--range", "5", "show"}, "--range takes FIRST-LAST"},
      {{"--data-dir=", "show"}, "--data-dir needs a folder"},
      {{"export"}, "usage: export FILE"},
      {{"export", "a", "b"}, "usage: export FILE"},
      {{"show", "extra"}, "usage: show"},
      {{"tapes"}, "tapes takes list"},
      {{"tapes", "rewind"}, "tapes takes list"},
      {{"tapes", "read"}, "usage: tapes read K"},
      {{"tapes", "read", "0"}, "block K must be a number"},
      {{"tapes", "read", "x1"}, "block K must be a number"},
      {{"tapes", "save", "1"}, "usage: tapes save K FILE"},
      {{"export", "x", "--format", "pdf"}, "--format takes csv, txt or zlb"},
      {{"show", "--yes"}, "--yes does not apply to show"},
      {{"read", "--lock"}, "--lock does not apply to read"},
      {{"write", "--with-accounting"}, "--with-accounting does not apply to write"},
      {{"channels", "--watch"}, "--watch does not apply to channels"},
      {{"import", "f", "--format", "zlb"}, "--format does not apply to import"},
  };
  for (const BadCase& c : cases) {
    const CliArgs a = ParseCliArgs(c.args);
    EXPECT_NE(a.error.find(c.error), std::string::npos)
        << (c.args.empty() ? "(none)" : c.args[0]) << ": " << a.error;
  }
}

struct FormatCase {
  std::string format;
  std::string file;
  std::string chosen;
};

TEST(CliArgs, FormatComesFromTheFlagElseTheExtension) {
  const FormatCase cases[] = {
      {"", "prices.CSV", "csv"}, {"", "prices.txt", "txt"},  {"txt", "prices.csv", "txt"},
      {"", "prices", ""},        {"", "dir.csv/prices", ""}, {"", "prices.zlb", ""},
      {"zlb", "x", ""},
  };
  for (const FormatCase& c : cases) {
    CliArgs a;
    a.format = c.format;
    a.file = c.file;
    EXPECT_EQ(ChosenFormat(a, {"csv", "txt"}), c.chosen) << c.format << " " << c.file;
  }
}

TEST(CliArgs, UsageDocumentsTheExitCodes) {
  const std::string text = UsageText();
  for (const char* line :
       {"0  success", "1  device or file failure", "2  bad usage or validation"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace zel::cli
