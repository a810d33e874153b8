#include "exchange/tape_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/file_output.h"
#include "exchange/tape_save.h"
#include "exchange_fixture.h"

namespace zel {
namespace {

using testing::ReadBytes;
using testing::TempDir;

const std::vector<TapeBlockRow> kBlocks = {
    {"12", "05.03.24", "37"},
    {"13", "06.03.24", "4.5"},
    {"Текущая", "", "2"},
};

const TapeBlockRow kSelected = {"12", "05.03.24", "37"};

// The second name is 20 characters long.
const std::vector<TapeSaleRow> kSales = {
    {"6", "Масло сливочное 82.5", "45.90", "1.500"},
    {"12", "Хлеб", "12.50", "2"},
};

const std::string kBlockCsv =
    "\xB9 \xCA\xCB;\xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0;\xCA\xEE\xEB-\xE2\xEE "
    "\xEF\xEE\xEA\xF3\xEF\xEE\xEA;\r\n"
    "\"12\";05.03.24;37;\r\n"
    "\"13\";06.03.24;4,5;\r\n"
    "\"\xD2\xE5\xEA\xF3\xF9\xE0\xFF\";;2;\r\n";

const std::string kBlockText =
    "\xB9 \xCA\xCB       "
    "\xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0   "
    "\xCA\xEE\xEB-\xE2\xEE \xEF\xEE\xEA\xF3\xEF\xEE\xEA\r\n"
    "12         "
    "05.03.24      "
    "37             \r\n"
    "13         "
    "06.03.24      "
    "4.5            \r\n"
    "\xD2\xE5\xEA\xF3\xF9\xE0\xFF    "
    "              "
    "2              \r\n";

const std::string kTapeCsv =
    "\xB9 \xCA\xCB;\xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0;\xCA\xEE\xEB-\xE2\xEE "
    "\xEF\xEE\xEA\xF3\xEF\xEE\xEA;\r\n"
    "12;05.03.24;37;\r\n"
    ";\r\n"
    "\xB9 \xE2 "
    "\xE1\xE0\xE7\xE5;\xCD\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5;"
    "\xD1\xF2\xEE\xE8\xEC\xEE\xF1\xF2\xFC;\xCA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE;\r\n"
    "\"6\";\"\xCC\xE0\xF1\xEB\xEE \xF1\xEB\xE8\xE2\xEE\xF7\xED\xEE\xE5 82.5\";45,90;1,500;\r\n"
    "\"12\";\"\xD5\xEB\xE5\xE1\";12,50;2;\r\n";

const std::string kTapeText =
    "\xB9 \xCA\xCB .......... 12\r\n"
    "\xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0 ... 05.03.24\r\n"
    "\xCA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE .... 37\r\n"
    "\r\n\r\n"
    "\xB9 \xE2 \xE1\xE0\xE7\xE5  "
    "\xCD\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5   "
    "\xD1\xF2\xEE\xE8\xEC\xEE\xF1\xF2\xFC   "
    "\xCA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE\r\n"
    "6         "
    "\xCC\xE0\xF1\xEB\xEE \xF1\xEB\xE8\xE2\xEE\xF7\xED\xEE\xE5"
    "45.90       "
    "1.500          \r\n"
    "12        "
    "\xD5\xEB\xE5\xE1           "
    "12.50       "
    "2              \r\n";

TEST(TapeFiles, BlockListCsvQuotesTapeNumbersAndCommasThePurchaseCount) {
  EXPECT_EQ(BlockListCsv(kBlocks), kBlockCsv);
}

TEST(TapeFiles, BlockListTextPadsColumnsTo11And14And15) {
  EXPECT_EQ(BlockListText(kBlocks), kBlockText);
}

TEST(TapeFiles, TapeCsvStartsWithTheSelectedBlockAndCommasPriceAndQuantity) {
  EXPECT_EQ(TapeContentsCsv(kSelected, kSales), kTapeCsv);
}

TEST(TapeFiles, TapeTextCutsA20CharacterNameTo15AndKeepsThePoint) {
  EXPECT_EQ(TapeContentsText(kSelected, kSales), kTapeText);
}

TEST(TapeFiles, NothingReadWritesHeadingsAndEmptyBlockData) {
  EXPECT_EQ(BlockListCsv({}),
            "\xB9 \xCA\xCB;\xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0;\xCA\xEE\xEB-\xE2\xEE "
            "\xEF\xEE\xEA\xF3\xEF\xEE\xEA;\r\n");
  EXPECT_EQ(BlockListText({}),
            "\xB9 \xCA\xCB       \xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0   \xCA\xEE\xEB-\xE2\xEE "
            "\xEF\xEE\xEA\xF3\xEF\xEE\xEA\r\n");
  EXPECT_EQ(TapeContentsCsv({}, {}),
            "\xB9 \xCA\xCB;\xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0;\xCA\xEE\xEB-\xE2\xEE "
            "\xEF\xEE\xEA\xF3\xEF\xEE\xEA;\r\n;;;\r\n;\r\n"
            "\xB9 \xE2 "
            "\xE1\xE0\xE7\xE5;\xCD\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5;"
            "\xD1\xF2\xEE\xE8\xEC\xEE\xF1\xF2\xFC;\xCA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE;\r\n");
  EXPECT_EQ(TapeContentsText({}, {}),
            "\xB9 \xCA\xCB .......... \r\n\xC4\xE0\xF2\xE0 \xE2\xFB\xE2\xEE\xE4\xE0 ... "
            "\r\n\xCA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE .... \r\n\r\n\r\n"
            "\xB9 \xE2 \xE1\xE0\xE7\xE5  \xCD\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5   "
            "\xD1\xF2\xEE\xE8\xEC\xEE\xF1\xF2\xFC   \xCA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE\r\n");
}

TEST(TapeSave, EachCommandCompletesAndKeepsItsOwnName) {
  TempDir dir;
  testing::ScriptedPrompts prompts;
  FileDialogState blockDialog = TapeSaveDialog();
  FileDialogState tapeDialog = TapeSaveDialog();
  ASSERT_TRUE(SaveBlockList(blockDialog, dir.File("blocks.txt"), 0, kBlocks, prompts));
  ASSERT_TRUE(SaveTapeContents(tapeDialog, dir.File("tape"), 1, kSelected, kSales, prompts));
  EXPECT_EQ(blockDialog.fileName, dir.File("blocks.csv"));
  EXPECT_EQ(tapeDialog.fileName, dir.File("tape.txt"));
  EXPECT_EQ(ReadBytes(dir.File("blocks.csv")), kBlockCsv);
  EXPECT_EQ(ReadBytes(dir.File("tape.txt")), kTapeText);
  EXPECT_FALSE(std::filesystem::exists(dir.File("blocks.txt")));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST(TapeSave, OtherTypeOfEachCommand) {
  TempDir dir;
  testing::ScriptedPrompts prompts;
  FileDialogState dialog = TapeSaveDialog();
  ASSERT_TRUE(SaveBlockList(dialog, dir.File("b.CSV"), 1, kBlocks, prompts));
  ASSERT_TRUE(SaveTapeContents(dialog, dir.File("t.txt"), 0, kSelected, kSales, prompts));
  EXPECT_EQ(ReadBytes(dir.File("b.txt")), kBlockText);
  EXPECT_EQ(ReadBytes(dir.File("t.csv")), kTapeCsv);
}

TEST(TapeSave, TargetThatCannotBeCreatedAsksToRemoveWriteProtection) {
  TempDir dir;
  testing::WriteBytes(dir.File("plain"), "x");
  testing::ScriptedPrompts prompts;
  FileDialogState dialog = TapeSaveDialog();
  const std::string path = dir.File("plain") + "/kl";
  EXPECT_FALSE(SaveBlockList(dialog, path, 0, kBlocks, prompts));
  EXPECT_FALSE(SaveTapeContents(dialog, path, 1, kSelected, kSales, prompts));
  const std::vector<testing::ScriptedPrompts::Shown> expected = {
      {"message", "Не удалось открыть файл " + path + ".csv - Снимите защиту от записи!"},
      {"message", "Не удалось открыть файл " + path + ".txt - Снимите защиту от записи!"},
  };
  EXPECT_EQ(prompts.shown(), expected);
  EXPECT_EQ(ReadBytes(dir.File("plain")), "x");
}

TEST(TapeSave, UnknownFilterWritesNothing) {
  TempDir dir;
  testing::ScriptedPrompts prompts;
  FileDialogState dialog = TapeSaveDialog();
  EXPECT_FALSE(SaveBlockList(dialog, dir.File("b"), 2, kBlocks, prompts));
  EXPECT_FALSE(SaveBlockList(dialog, dir.File("b"), -1, kBlocks, prompts));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace zel
