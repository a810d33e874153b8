// The file dialogs of export, import and the control-tape saves, driven
// through Qt's own dialog: its type list, its name field, its accept key.
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/commands.h"
#include "app_fixture.h"
#include "base/product_table.h"
#include "common/cp1251.h"
#include "exchange/export_run.h"
#include "exchange/zel_base_file.h"

namespace zel::testing {
namespace {

bool StartsWith(const std::string& bytes, const std::string& utf8) {
  return bytes.rfind(Utf8ToCp1251(utf8), 0) == 0;
}

class FileDialogsTest : public AppFixture {
 protected:
  void SetUp() override {
    WriteSettings(
        "[ЖРМ 1 конт]\nSelect=1\nSet=0\nВерс=ЖРМ 3\nЖРМ=0001\n"
        "[Диапазон базы]\nbegin=0001\nend=0010\n");
    Start();
    ASSERT_EQ(Ws().device.typeText, "ЖРМ 3");
    prompts.Clear();
  }

  // Runs `command` from its menu item; in the dialog it opens, picks type
  // `type` from the dialog's list and accepts `name` typed into its field.
  // Returns the dialog's caption. `again` gets the dialog if it shows again.
  std::string Choose(Command command, int type, const std::string& name,
                     std::function<void(QFileDialog*)> again = nullptr) {
    std::string caption;
    WhenModalShown([&caption, type, name, again](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) {
        ADD_FAILURE() << "not a file dialog: " << modal->windowTitle().toStdString();
        modal->close();
        return;
      }
      caption = dialog->windowTitle().toStdString();
      auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (!types || !field) {
        ADD_FAILURE() << "not Qt's own dialog";
        dialog->reject();
        return;
      }
      types->setCurrentIndex(type);
      emit types->activated(type);
      field->setText(QString::fromStdString(name));
      QTest::keyClick(field, Qt::Key_Return);
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog stayed open";
        dialog->reject();
      }
      if (again) WhenModalShown([again](QWidget* m) { again(qobject_cast<QFileDialog*>(m)); });
    });
    Main().MenuAction(command)->trigger();
    return caption;
  }
};

TEST_F(FileDialogsTest, EveryExportTypeWritesItsFormatUnderItsExtension) {
  struct Case {
    int type;
    const char* file;
    const char* start;  // empty: a binary ZEL_Base file
  };
  const Case cases[] = {
      {0, "out0.csv", "номер;наименование;"}, {1, "out1.txt", "номер "}, {2, "out2.zlb", ""}};
  for (const Case& c : cases) {
    const std::string stem = std::filesystem::path(c.file).stem().string();
    EXPECT_EQ(Choose(Command::Export, c.type, (dir / stem).string()), "Экспорт данных");
    const std::string bytes = ReadBytes(dir / c.file);
    ASSERT_FALSE(bytes.empty()) << c.file;
    if (*c.start) {
      EXPECT_TRUE(StartsWith(bytes, c.start)) << c.file;
    } else {
      EXPECT_FALSE(StartsWith(bytes, "номер")) << c.file;
      EXPECT_EQ(bytes.size() % kZelBaseRecordBytes, 0u);
    }
  }
}

TEST_F(FileDialogsTest, EveryImportTypeReadsItsFormat) {
  std::ofstream(dir / "in.txt", std::ios::binary) << Utf8ToCp1251("Молоко;12.50;2;46001\r\n");
  Ws().table.SetCell(1, kColName, "Кефир");
  ASSERT_TRUE(ExportRows(Ws().table, 1, Ws().device.typeText, ExportFormat::ZelBase,
                         (dir / "in.zlb").string(), prompts));

  Choose(Command::Import, 0, (dir / "in.txt").string());
  EXPECT_EQ(Ws().table.Cell(1, kColName), "Молоко");
  EXPECT_EQ(Ws().table.Cell(1, kColPrice), "12.50");
  EXPECT_EQ(StoredRecord(1, 1).name, "Молоко");

  EXPECT_EQ(Choose(Command::Import, 1, (dir / "in.zlb").string()), "Импорт данных из файла");
  EXPECT_EQ(Ws().table.Cell(1, kColName), "Кефир");
  EXPECT_EQ(StoredRecord(1, 1).name, "Кефир");

  prompts.Clear();
  Choose(Command::Import, 1, (dir / "absent.zlb").string());
  EXPECT_EQ(prompts.shown(),
            (std::vector<ScriptedPrompts::Shown>{{"information", "Файл не найден"}}));
}

TEST_F(FileDialogsTest, EveryTapeSaveTypeUnderTheCommandsCaption) {
  struct Case {
    Command command;
    int type;
    const char* file;
    const char* caption;
    const char* start;
  };
  const Case cases[] = {
      {Command::SaveTapeBlocks, 0, "blocks.csv", "Сохранить информацию о блоках контрольных лент",
       "№ КЛ;Дата вывода;"},
      {Command::SaveTapeBlocks, 1, "blocks1.txt", "Сохранить информацию о блоках контрольных лент",
       "№ КЛ       Дата вывода"},
      {Command::SaveTape, 0, "tape.csv", "Сохранить информацию о контролной ленте", "№ КЛ;"},
      {Command::SaveTape, 1, "tape1.txt", "Сохранить информацию о контролной ленте",
       "№ КЛ .......... "},
  };
  for (const Case& c : cases) {
    const std::string stem = std::filesystem::path(c.file).stem().string();
    EXPECT_EQ(Choose(c.command, c.type, (dir / stem).string()), c.caption);
    EXPECT_TRUE(StartsWith(ReadBytes(dir / c.file), c.start)) << c.file;
  }
}

TEST_F(FileDialogsTest, ReplacingIsAskedAboutTheCompletedName) {
  std::ofstream(dir / "Base1.csv") << "kept";
  std::string offered;
  Choose(Command::Export, 0, (dir / "Base1").string(), [&offered](QFileDialog* dialog) {
    ASSERT_TRUE(dialog);
    offered = dialog->selectedFiles().value(0).toStdString();
    dialog->reject();
  });  // the unscripted question is answered No: the dialog shows again
  EXPECT_EQ(offered, (dir / "Base1.csv").string());
  ASSERT_EQ(prompts.shown(), (std::vector<ScriptedPrompts::Shown>{
                                 {"yesno", "Файл Base1.csv уже существует. Заменить его?"}}));
  EXPECT_EQ(ReadBytes(dir / "Base1.csv"), "kept");
}

TEST_F(FileDialogsTest, QtsOwnTextsAreRussian) {
  std::vector<std::string> buttons;
  WhenModalShown([&buttons](QWidget* modal) {
    for (auto* b : modal->findChildren<QPushButton*>()) buttons.push_back(b->text().toStdString());
    qobject_cast<QDialog*>(modal)->reject();
  });
  Main().MenuAction(Command::Export)->trigger();
  EXPECT_NE(std::find(buttons.begin(), buttons.end(), "Отмена"), buttons.end())
      << ::testing::PrintToString(buttons);

  std::unique_ptr<QMenu> menu(Main().Edit11()->createStandardContextMenu());
  std::vector<std::string> items;
  for (QAction* a : menu->actions()) items.push_back(a->text().toStdString());
  EXPECT_NE(std::find(items.begin(), items.end(), "&Копировать\tCtrl+C"), items.end())
      << ::testing::PrintToString(items);
}

}  // namespace
}  // namespace zel::testing
