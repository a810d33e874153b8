#include "exchange/export_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "base/base_ops.h"
#include "exchange/file_dialogs.h"
#include "exchange/file_output.h"
#include "exchange_fixture.h"
#include "support/unprivileged.h"

namespace zel {
namespace {

using namespace std::string_view_literals;
using testing::ReadBytes;
using testing::TempDir;
using testing::WorkspaceTest;

TEST(CompleteFileName, FollowsTheFourthCharacterFromTheEnd) {
  struct Case {
    const char* name;
    const char* ext;
    const char* completed;
  };
  const Case cases[] = {
      {"Base1", "csv", "Base1.csv"},
      {"Base1.txt", "csv", "Base1.csv"},
      {"Base1.CSV", "csv", "Base1.csv"},
      {"Base1.csv", "csv", "Base1.csv"},
      {"Base1.zlb", "txt", "Base1.txt"},
      {"/tmp/a.b/Base1", "zlb", "/tmp/a.b/Base1.zlb"},
      {"data.xlsx", "csv", "data.xlsx.csv"},
      {"a.c", "csv", "a.c.csv"},
      {".txt", "csv", ".csv"},
      {"abc", "txt", "abc.txt"},
      {"", "csv", ".csv"},
      {"Прайс.тхт", "csv", "Прайс.csv"},
      {"Прайс", "txt", "Прайс.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(CompleteFileName(c.name, c.ext), c.completed) << c.name;
}

TEST(ExportDialog, CaptionFiltersAndInitialName) {
  const FileDialogState d = ExportDialog();
  EXPECT_EQ(d.caption, "Экспорт данных");
  ASSERT_EQ(d.filters.size(), 3u);
  EXPECT_EQ(d.filters[0].label, "В формате Excel  *.CSV");
  EXPECT_EQ(d.filters[0].pattern, "*.csv");
  EXPECT_EQ(d.filters[1].label, "В текстовом формате  *.TXT");
  EXPECT_EQ(d.filters[1].pattern, "*.txt");
  EXPECT_EQ(d.filters[2].label, "В формате ZEL_Base *.ZLB");
  EXPECT_EQ(d.filters[2].pattern, "*.zlb");
  EXPECT_EQ(d.fileName, "Base1");
  EXPECT_EQ(d.ExtOf(0), "csv");
  EXPECT_EQ(d.ExtOf(2), "zlb");
  EXPECT_EQ(d.ExtOf(3), "");
}

TEST(ImportDialog, CaptionAndFilters) {
  const FileDialogState d = ImportDialog();
  EXPECT_EQ(d.caption, "Импорт данных из файла");
  ASSERT_EQ(d.filters.size(), 2u);
  EXPECT_EQ(d.filters[0].label, "Текстовый формат  *.txt  ");
  EXPECT_EQ(d.filters[0].pattern, "*.txt");
  EXPECT_EQ(d.filters[1].label, "Формат ZEL_Base  *.zlb");
  EXPECT_EQ(d.filters[1].pattern, "*.zlb");
}

TEST(TapeSaveDialog, Filters) {
  const FileDialogState d = TapeSaveDialog();
  ASSERT_EQ(d.filters.size(), 2u);
  EXPECT_EQ(d.filters[0].label, "В формате MicroSoft Excel (csv)");
  EXPECT_EQ(d.filters[1].label, "В текстовом формате (txt)");
}

TEST(WriteExchangeFile, ReplacesAnExistingFile) {
  TempDir dir;
  testing::WriteBytes(dir.File("a.csv"), "old contents that are longer");
  testing::ScriptedPrompts prompts;
  EXPECT_TRUE(
      WriteExchangeFile(dir.File("a.csv"), "new", CreateFailureReport::AskToUnprotect, prompts));
  EXPECT_EQ(ReadBytes(dir.File("a.csv")), "new");
}

TEST(WriteExchangeFile, ProtectedFileIsLeftUnchanged) {
  TempDir dir;
  const std::string path = dir.File("ro.csv");
  testing::WriteBytes(path, "keep");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  // Root writes through read-only modes: the write runs as the owner of the
  // folder and the file, an ordinary user.
  if (::geteuid() == 0) {
    for (const std::string& p : {dir.path().string(), path})
      ASSERT_EQ(::chown(p.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId), 0);
  }
  const std::optional<std::string> seen = testing::RunUnprivileged([&] {
    testing::ScriptedPrompts prompts;
    std::string out = WriteExchangeFile(path, "new", CreateFailureReport::AskToUnprotect, prompts)
                          ? "written"
                          : "refused";
    for (const auto& s : prompts.shown()) out += "\n" + s.kind + ": " + s.text;
    return out;
  });
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(*seen, "refused\nmessage: " + CannotOpenMessage(path));
  EXPECT_EQ(ReadBytes(path), "keep");
}

TEST(WriteExchangeFile, ZelBaseCreationFailureIsAnErrorBox) {
  TempDir dir;
  testing::WriteBytes(dir.File("plain"), "x");
  testing::ScriptedPrompts prompts;
  const std::string path = dir.File("plain") + "/b.zlb";
  EXPECT_FALSE(WriteExchangeFile(path, "data", CreateFailureReport::GeneralError, prompts));
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, "error");
  EXPECT_NE(prompts.shown()[0].text.find(path), std::string::npos);
}

class ExportRunTest : public WorkspaceTest {
 protected:
  void SetUp() override {
    ShowRange(5, 5);
    ws_.table.SetRecord(1, {"Хлеб", "12.50", "3", "460123456789", "1.500", "5", "1"});
  }
};

TEST_F(ExportRunTest, CsvOfOneSlotUnderTheCompletedName) {
  FileDialogState dialog = ExportDialog();
  ASSERT_TRUE(BeginExport(ws_));
  ASSERT_TRUE(ExportToFile(ws_, dialog, dir_.File("out.txt"), 0));
  EXPECT_EQ(dialog.fileName, dir_.File("out.csv"));
  EXPECT_EQ(
      ReadBytes(dir_.File("out.csv")),
      "\xED\xEE\xEC\xE5\xF0;\xED\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5;\xF6\xE5\xED\xE0;"
      "\xEE\xF2\xE4\xE5\xEB;\xF8\xF2\xF0\xE8\xF5-\xEA\xEE\xE4;\xF3\xF7\xE5\xF2;\r\n"
      "5;\"\xD5\xEB\xE5\xE1\";12,50;3;\"460123456789\";1,500;\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.txt")));
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ExportRunTest, TextAndZelBaseTypes) {
  FileDialogState dialog = ExportDialog();
  ASSERT_TRUE(ExportToFile(ws_, dialog, dir_.File("out"), 1));
  EXPECT_EQ(ReadBytes(dir_.File("out.txt")).size(), 78u + 3u + 89u);
  ASSERT_TRUE(ExportToFile(ws_, dialog, dir_.File("out"), 2));
  EXPECT_EQ(dialog.fileName, dir_.File("out.zlb"));
  const std::string zlb = ReadBytes(dir_.File("out.zlb"));
  ASSERT_EQ(zlb.size(), 77u);
  EXPECT_EQ(zlb.substr(71, 4),
            "\x01"
            "0\x00\x00"sv);
}

TEST_F(ExportRunTest, RejectedRangeShowsNoDialog) {
  ws_.range.SetStartText("9000");
  EXPECT_FALSE(BeginExport(ws_));
  EXPECT_EQ(prompts_.texts(),
            std::vector<std::string>{"Диапазон базы должен быть в пределах 1..4096"});
}

TEST_F(ExportRunTest, TargetThatCannotBeCreatedAsksToRemoveWriteProtection) {
  testing::WriteBytes(dir_.File("plain"), "x");
  FileDialogState dialog = ExportDialog();
  const std::string name = dir_.File("plain") + "/out";
  EXPECT_FALSE(ExportToFile(ws_, dialog, name, 1));
  EXPECT_EQ(
      prompts_.shown(),
      (std::vector<testing::ScriptedPrompts::Shown>{
          {"message", "Не удалось открыть файл " + name + ".txt - Снимите защиту от записи!"}}));
}

TEST_F(ExportRunTest, TableShowingAnotherRangeIsReloadedBeforeTheExport) {
  // Products 1..3 are stored; the table shows 5..5 while the fields say 1..2.
  for (int product = 1; product <= 3; ++product) {
    ws_.table.SetRow(1, product, {"p" + std::to_string(product), "1.00", "1", "", "0.000", "", ""});
    ws_.table.CurrentProductRow = 1;
    ASSERT_TRUE(WriteTovar(ws_));
  }
  ws_.table.SetRow(1, 5, {"five", "5.00", "1", "", "0.000", "", ""});
  ws_.range.SetStartText("1");
  ws_.range.SetEndText("2");
  ASSERT_TRUE(BeginExport(ws_));
  FileDialogState dialog = ExportDialog();
  ASSERT_TRUE(ExportToFile(ws_, dialog, dir_.File("r"), 0));
  EXPECT_EQ(
      ReadBytes(dir_.File("r.csv")),
      "\xED\xEE\xEC\xE5\xF0;\xED\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5;\xF6\xE5\xED\xE0;"
      "\xEE\xF2\xE4\xE5\xEB;\xF8\xF2\xF0\xE8\xF5-\xEA\xEE\xE4;\xF3\xF7\xE5\xF2;\r\n"
      "1;\"p1\";1,00;1;\"\";0,000;\r\n"
      "2;\"p2\";1,00;1;\"\";0,000;\r\n");
  EXPECT_EQ(ws_.table.Cell(2, kColName), "p2");
}

}  // namespace
}  // namespace zel
