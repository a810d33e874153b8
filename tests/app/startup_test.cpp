// Start-up: the nine windows, the first activation's settings load and the
// main window's state after it.
#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "app/product_grid.h"
#include "app/product_table_model.h"
#include "app/status_panel.h"
#include "app_fixture.h"
#include "server/tserver.h"

namespace zel::testing {
namespace {

constexpr const char* kNoSettingsMessage =
    "Не удалось открыть файл ZELBase.ini\rвсе установки программы будут приведены в исходные.";

using StartupTest = AppFixture;

TEST_F(StartupTest, NineWindowsAreCreatedInOrderWithTheirCaptions) {
  const char* captions[] = {"Менеджер удаленных баз товаров",
                            "Инициализация последовательного порта",
                            "Менеджер удаленных баз товаров",
                            "Ввод штриховых кодов",
                            "Предупреждение",
                            "",
                            "Внимание",
                            "О программе",
                            "Номер товара"};
  const auto& order = windows->InCreationOrder();
  ASSERT_EQ(order.size(), 9u);
  EXPECT_EQ(order[0], &Main());
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(order[i]->windowTitle().toStdString(), captions[i]) << i;
    EXPECT_FALSE(order[i]->isVisible()) << i;
    // Room for the caption in the title bar, in bold as window managers draw it.
    QFont bold = order[i]->font();
    bold.setBold(true);
    const int caption = QFontMetrics(bold).horizontalAdvance(order[i]->windowTitle());
    if (QLayout* layout = order[i]->layout()) layout->activate();  // as when shown
    const int width = std::max(order[i]->width(), order[i]->sizeHint().width());
    EXPECT_GT(width, caption + 60) << captions[i];
  }
}

TEST_F(StartupTest, BeforeAnyLoadTheNumberColumnCountsToTheLargestBase) {
  const ProductTableModel& model = *Main().StringGrid1()->Model();
  ASSERT_EQ(model.rowCount(), 12288);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "1");
  EXPECT_EQ(model.data(model.index(12287, 0), Qt::DisplayRole).toString(), "12288");
}

TEST_F(StartupTest, WithoutSettingsFileTellsOnceAndUsesDefaults) {
  WriteBaseRecord(1, 1, {"Хлеб белый", "12.50", "3", "460000000017", "0.000", "1", "0"});
  Start();
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{kNoSettingsMessage});
  EXPECT_EQ(prompts.shown()[0].kind, "information");

  EXPECT_EQ(Main().TypeField()->text().toStdString(), "ЖРМ 1.5");
  EXPECT_EQ(Main().ZhrmField()->text().toStdString(), "0001");
  EXPECT_EQ(Main().KkmField()->text().toStdString(), "00000001");
  // The defaults "0001".."4096", written back aligned to blocks of four.
  EXPECT_EQ(Main().Edit11()->text().toStdString(), "1");
  EXPECT_EQ(Main().Edit12()->text().toStdString(), "4096");
  EXPECT_EQ(Ws().channels.activeChannel, 1);
  EXPECT_EQ(core->port.comIndex, 4);  // Com1 and Com5 default true: the last wins
  EXPECT_TRUE(core->link.PortValid());
  for (int n = 1; n <= 16; ++n) {
    EXPECT_TRUE(std::filesystem::exists(dir / "Base" / ("Base" + std::to_string(n) + ".bsd")));
  }
}

TEST_F(StartupTest, TableShowsTheActiveBaseFile) {
  WriteBaseRecord(1, 2, {"Молоко 3,2%", "45.00", "2", "460123456789", "1.500", "1", "0"});
  Start();
  const ProductTableModel& model = *Main().StringGrid1()->Model();
  ASSERT_EQ(model.rowCount(), 4096);
  ASSERT_EQ(model.columnCount(), 6);  // ЖРМ 1.5: columns 0..5
  const char* expected[] = {"2", "Молоко 3,2%", "45.00", "2", "460123456789", "1.500"};
  for (int col = 0; col < 6; ++col) {
    EXPECT_EQ(model.data(model.index(1, col), Qt::DisplayRole).toString().toStdString(),
              expected[col]);
  }
  EXPECT_EQ(model.data(model.index(4095, 0), Qt::DisplayRole).toString().toStdString(), "4096");
}

// A base file cut short loads what it holds, says so once per load in an
// error box naming the file, and is never shortened.
TEST_F(StartupTest, ShortBaseFileIsToldOncePerLoadAndKept) {
  WriteSettings("[Диапазон базы]\nbegin=0001\nend=0008\n");
  WriteBaseRecord(1, 2, {"Молоко", "45.00", "2", "460123456789", "1.500", "1", "0"});
  const std::filesystem::path file = dir / "Base" / "Base1.bsd";
  std::filesystem::resize_file(file, 3 * 77 + 10);  // three records and a piece
  const std::string told = "Файл " + file.string() +
                           " короче диапазона базы: записей в нем 3, нужно 8. Товары 4..8 "
                           "показаны пустыми.";
  Start();
  EXPECT_EQ(CountShown(told), 1);
  const ProductTableModel& model = *Main().StringGrid1()->Model();
  ASSERT_EQ(model.rowCount(), 8);
  EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString().toStdString(), "Молоко");
  Main().Edit12()->setFocus();
  Main().Edit12()->selectAll();
  QTest::keyClicks(Main().Edit12(), "8");
  QTest::keyClick(Main().Edit12(), Qt::Key_Return);
  EXPECT_EQ(CountShown(told), 2);
  EXPECT_EQ(std::filesystem::file_size(file), 3u * 77 + 10);
}

TEST_F(StartupTest, HeadingsKeepTheirLeadingBlanks) {
  Start();
  const ProductTableModel& model = *Main().StringGrid1()->Model();
  const char* headings[] = {" N", " Наименование", " Стоимость", " Отдел", " Штрих-код", " Учет"};
  for (int col = 0; col < 6; ++col) {
    EXPECT_EQ(model.headerData(col, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(),
              headings[col]);
  }
}

TEST_F(StartupTest, AfterLoadTheWindowIsIdleWithTapeTabsHidden) {
  Start();
  EXPECT_TRUE(Main().ToolBar1()->isEnabled());
  EXPECT_TRUE(Main().Button1()->isEnabled());
  EXPECT_FALSE(Main().Button3()->isEnabled());
  EXPECT_TRUE(Main().StringGrid1()->isEnabled());
  EXPECT_FALSE(Main().ServerPanel()->isVisible());
  EXPECT_FALSE(Main().Status()->Gauge1()->isVisible());
  EXPECT_FALSE(Main().Status()->Button2()->isVisible());
  EXPECT_FALSE(Main().PageControl1()->isTabVisible(1));
  EXPECT_FALSE(Main().PageControl1()->isTabVisible(2));
  EXPECT_FALSE(Main().MenuAction(Command::ReadTapeBlocks)->isEnabled());
  EXPECT_TRUE(Main().MenuAction(Command::TapeReminder)->isChecked());
  EXPECT_EQ(Main().PageControl1()->currentIndex(), 0);
}

TEST_F(StartupTest, SettingsFileDecidesDeviceRangeAndPort) {
  WriteSettings(
      "[Настройка Com-порта]\nCom1=0\nCom5=0\nCom3=1\nCom3Path=/dev/ttyS2\nBaudRate=38400\n"
      "[ЖРМ 1 конт]\nSelect=0\nSet=0\n"
      "[ЖРМ 2 конт]\nSelect=1\nSet=0\nВерс=ЖРМ 3+\nЖРМ=0042\n"
      "[Диапазон базы]\nbegin=0101\nend=0120\n");
  Start();
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(core->port.comIndex, 2);
  EXPECT_EQ(Main().TypeField()->text().toStdString(), "ЖРМ 3+");
  EXPECT_EQ(Main().ZhrmField()->text().toStdString(), "0042");
  EXPECT_FALSE(Main().KkmField()->isVisibleTo(&Main()));
  EXPECT_TRUE(Main().PageControl1()->isTabVisible(1));
  EXPECT_TRUE(Main().MenuAction(Command::ReadTapeBlocks)->isEnabled());
  EXPECT_EQ(Main().StringGrid1()->Model()->rowCount(), 20);
  EXPECT_EQ(line->Current().baud, 38400u);
}

TEST_F(StartupTest, SecondActivationDoesNotReloadTheSettings) {
  Start();
  WriteSettings("[Диапазон базы]\nbegin=0005\nend=0009\n");
  Main().FormActivate();
  QEvent activation(QEvent::ActivationChange);
  QCoreApplication::sendEvent(&Main(), &activation);
  QCoreApplication::processEvents();
  EXPECT_EQ(Main().Edit11()->text().toStdString(), "1");
  EXPECT_EQ(Main().Edit12()->text().toStdString(), "4096");
  EXPECT_EQ(CountShown(kNoSettingsMessage), 1);
}

TEST_F(StartupTest, ShowingAgainAfterHidingDoesNotReload) {
  Start();
  Main().hide();
  WriteSettings("[Диапазон базы]\nbegin=0005\nend=0009\n");
  Main().show();
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(Main().Edit11()->text().toStdString(), "1");
}

TEST_F(StartupTest, StatusPanelShowsProgressOnlyWhileAnOperationRuns) {
  Start();
  StatusPanel& status = *Main().Status();
  Ws().progress.ShowProgress("Чтение базы", 4, true);
  EXPECT_TRUE(status.Gauge1()->isVisible());
  EXPECT_EQ(status.Label2()->text().toStdString(), "Чтение базы");
  ASSERT_TRUE(status.Button2()->isVisible());
  EXPECT_EQ(status.Button2()->text().toStdString(), "Стоп");
  Ws().progress.AdvanceProgress();
  Ws().progress.AdvanceProgress();
  EXPECT_EQ(status.Gauge1()->value() * 2, status.Gauge1()->maximum());
  EXPECT_EQ(status.Gauge1()->text().toStdString(), "2 / 4");
  // Steps of blocks of four: the text counts products.
  Ws().progress.CountProducts(16);
  EXPECT_EQ(status.Gauge1()->text().toStdString(), "8 / 16");
  QTest::mouseClick(status.Button2(), Qt::LeftButton);
  EXPECT_TRUE(Ws().run.stopRequested);
  Ws().progress.HideProgress();
  EXPECT_FALSE(status.Gauge1()->isVisible());
  EXPECT_FALSE(status.Label2()->isVisible());
  EXPECT_FALSE(status.Button2()->isVisible());
}

TEST_F(StartupTest, ReminderMenuItemTogglesTheOption) {
  WriteSettings("[ЖРМ 1 конт]\nВерс=ЖРМ 3\n");
  Start();
  QAction* reminder = Main().MenuAction(Command::TapeReminder);
  reminder->trigger();
  EXPECT_FALSE(Ws().options.reminderMenuTicked);
  EXPECT_FALSE(reminder->isChecked());
  reminder->trigger();
  EXPECT_TRUE(Ws().options.reminderMenuTicked);
  EXPECT_TRUE(reminder->isChecked());
}

TEST_F(StartupTest, ToolbarHasElevenButtonsWithTheirHintsInOrder) {
  const char* hints[] = {"Чтение содержимого активной базы",
                         "Запись в активную базу ",
                         "Обнуление товароучета активной базы",
                         "Чтение товароучета активной базы",
                         "Ввод штрих-кода",
                         "Экспорт содержимого таблицы",
                         "Импортировать данные из файла",
                         "Конфигурация COM порта",
                         "Очистить таблицу",
                         "Помощь",
                         "Выход"};
  const QList<QAction*> actions = Main().ToolBar1()->actions();
  ASSERT_EQ(actions.size(), 11);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(actions[i]->toolTip().toStdString(), hints[i]) << i;
}

// Menu items in order; "-" stands for a separator.
TEST_F(StartupTest, MenusHoldTheirItemsInOrder) {
  const std::vector<std::vector<std::string>> menus = {
      {"Файл", "Импорт данных из файла", "Экспорт данных в файл", "-",
       "Сохранить информацию о блоках контрольных лент", "Сохранить информацию о контролной ленте",
       "Восстановить базу из копии…", "-", "Выход"},
      {"Действия", "Настройка последовательного интерфейса", "-", "Чтение активной базы",
       "Запись активной базы", "Чтение данных товароучета", "Сброс данных товароучета", "-",
       "Чтение последнего штрихового кода", "Очистка таблицы базы товаров"},
      {"ЖРМ3", "Читать информацию о блоках КЛ", "Читать выбранную контрольну ленту", "-",
       "Напоминание перед чтением КЛ", "-", "Очистить блок контрольных лент"},
      {"Справка", "Содержание", "О программе"},
  };
  for (std::size_t m = 0; m < menus.size(); ++m) {
    QMenu* menu = Main().MainMenu(static_cast<int>(m));
    std::vector<std::string> got = {menu->title().toStdString()};
    for (QAction* a : menu->actions())
      got.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    EXPECT_EQ(got, menus[m]);
  }
  ASSERT_EQ(Main().PopupMenu1()->actions().size(), 1);
  EXPECT_EQ(Main().PopupMenu1()->actions()[0]->text().toStdString(), "Выход");
}

TEST_F(StartupTest, MainWindowCannotBeMaximisedOrResized) {
  EXPECT_FALSE(Main().windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(Main().windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(Main().minimumSize(), Main().maximumSize());
}

// An automation client's SelectBase changes the device under the window.
TEST_F(StartupTest, WindowFollowsTheActiveChannelASelectBaseChose) {
  WriteSettings(
      "[ЖРМ 1 конт]\nSelect=1\nSet=0\nВерс=ЖРМ 1.5\nЖРМ=0001\nККМ=00000011\n"
      "[ЖРМ 2 конт]\nSelect=0\nSet=0\nВерс=ЖРМ 3\nЖРМ=0042\nККМ=00000001\n"
      "[ЖРМ 3 конт]\nSelect=0\nSet=0\nВерс=ККМ ЗЕЛ-7Ф\nЖРМ=0001\nККМ=00000077\n");
  Start();
  TServer server(Ws(), Main().Tapes(), Main(), core->settings);
  struct Case {
    int channel;
    const char* type;
    bool zhrmShown;
    const char* number;  // the visible number field
    bool tapes;
    bool blockKkm;
  };
  const Case cases[] = {{2, "ЖРМ 3", true, "0042", true, false},
                        {3, "ККМ ЗЕЛ-7Ф", false, "00000077", false, true},
                        {1, "ЖРМ 1.5", true, "0001", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    ASSERT_EQ(server.SelectBase(ServerValue(int64_t{c.channel})), 1);
    EXPECT_EQ(Main().TypeField()->text().toStdString(), c.type);
    EXPECT_EQ(Main().ZhrmField()->isVisibleTo(&Main()), c.zhrmShown);
    QLineEdit* number = c.zhrmShown ? Main().ZhrmField() : Main().KkmField();
    EXPECT_TRUE(number->isVisibleTo(&Main()));
    EXPECT_EQ(number->text().toStdString(), c.number);
    EXPECT_EQ(Main().PageControl1()->isTabVisible(1), c.tapes);
    EXPECT_EQ(Main().PageControl1()->isTabVisible(2), c.tapes);
    EXPECT_EQ(Main().MenuAction(Command::ReadTapeBlocks)->isEnabled(), c.tapes);
    EXPECT_EQ(Main().BlockKkmBox()->isVisibleTo(&Main()), c.blockKkm);
  }
}

}  // namespace
}  // namespace zel::testing
