// The dialogs beside the main window: device network, disconnect warning,
// port settings, about box and help.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <fstream>

#include "app/about_box.h"
#include "app/help_viewer.h"
#include "app/init_comm.h"
#include "app/side_windows.h"
#include "app/warning_base_form.h"
#include "app/zhrm_page.h"
#include "app/zhrm_select.h"
#include "app_fixture.h"
#include "base/ini_file.h"

namespace zel::testing {
namespace {

class DialogsTest : public AppFixture {
 protected:
  void SetUp() override {
    Start();
    prompts.Clear();
  }

  TZhrm_select& Network() { return *windows->Zhrm_select(); }
  ZhrmPage& Page(int n) { return *Network().Page(n); }
  TInit_Comm& Port() { return *windows->Init_Comm(); }

  // Opens the network dialog from "Выбор базы" and runs `inside` in it.
  void InNetworkDialog(std::function<void()> inside) {
    WhenVisible(&Network(), [this, inside = std::move(inside)] {
      inside();
      if (Network().isVisible()) QTest::mouseClick(Network().CloseButton(), Qt::LeftButton);
    });
    QTest::mouseClick(Main().Button1(), Qt::LeftButton);
  }

  // Clicks "Отключить " on page n and answers the warning with `button`.
  void Disconnect(int n, const char* button) {
    if (button) {
      TWarningBaseForm* w = windows->WarningBaseForm();
      WhenVisible(w, [w, button] {
        QTest::mouseClick(
            std::string(button) == "Отмена" ? w->CancelButton() : w->DisconnectButton(),
            Qt::LeftButton);
      });
    }
    QTest::mouseClick(Page(n).DisconnectBox(), Qt::LeftButton);
  }
};

TEST_F(DialogsTest, NetworkDialogHasSixteenPagesAndZhrm200OnlyOnChannelOne) {
  ASSERT_EQ(Network().Pages()->count(), 16);
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(Network().Pages()->tabText(n - 1).toStdString(), "База " + std::to_string(n));
    QComboBox* types = Page(n).TypeBox();
    EXPECT_EQ(types->count(), n == 1 ? 7 : 6) << n;
    EXPECT_EQ(types->findText(QStringLiteral("ЖРМ 200")) >= 0, n == 1) << n;
  }
  // All sixteen in view at once; choosing one shows its page.
  QListWidget* list = Network().PageList();
  ASSERT_EQ(list->count(), 16);
  Network().adjustSize();
  EXPECT_GE(list->viewport()->height(), list->visualItemRect(list->item(15)).bottom()) << "scrolls";
  list->setCurrentRow(4);
  EXPECT_EQ(Network().Pages()->currentIndex(), 4);
}

TEST_F(DialogsTest, TypeRuleShowsTheNumberFieldsTheTypeUses) {
  struct Case {
    const char* type;
    bool zhrm;
    bool kkm;
  };
  const Case cases[] = {{"ЖРМ 1.5", true, true},
                        {"ЖРМ 3+", true, false},
                        {"ЖРМ 2.0", true, false},
                        {"ККМ ЗЕЛ-7Ф", false, true},
                        {"ЖРМ 200", false, true}};  // names no rule: fields stay as they were
  for (const Case& c : cases) {
    Page(1).TypeBox()->setCurrentText(QString::fromUtf8(c.type));
    EXPECT_EQ(Page(1).ZhrmEdit()->isVisibleTo(&Page(1)), c.zhrm) << c.type;
    EXPECT_EQ(Page(1).KkmEdit()->isVisibleTo(&Page(1)), c.kkm) << c.type;
    EXPECT_EQ(Ws().channels.Channel(1).deviceType, c.type);
    QComboBox* types = Page(1).TypeBox();
    EXPECT_EQ(types->itemText(types->currentIndex()).toStdString(), c.type);  // highlighted
  }
}

TEST_F(DialogsTest, CancelledDisconnectKeepsChannelButMovesTheActiveMark) {
  InNetworkDialog([this] {
    Disconnect(3, nullptr);  // reconnect channel 3: it was off
    ASSERT_FALSE(Ws().channels.Channel(3).disconnected);
    Disconnect(1, "Отмена");
    EXPECT_FALSE(Page(1).DisconnectBox()->isChecked());
    EXPECT_FALSE(Ws().channels.Channel(1).disconnected);
    EXPECT_EQ(Ws().channels.Channel(1).deviceType, "ЖРМ 1.5");
    EXPECT_EQ(Ws().channels.activeChannel, 3);
    EXPECT_TRUE(Page(3).ActiveMark()->isChecked());
    EXPECT_FALSE(Page(1).ActiveMark()->isChecked());
  });
  EXPECT_EQ(Main().ZhrmField()->text(), "0003");  // SelectZhrm after the dialog
}

TEST_F(DialogsTest, ConfirmedDisconnectHidesTheChannel) {
  InNetworkDialog([this] {
    Disconnect(2, nullptr);
    Disconnect(2, "Отключить");
    EXPECT_TRUE(Ws().channels.Channel(2).disconnected);
    EXPECT_FALSE(Page(2).TypeBox()->isVisibleTo(&Page(2)));
    EXPECT_FALSE(Page(2).ActiveMark()->isVisibleTo(&Page(2)));
    EXPECT_EQ(Ws().channels.activeChannel, 1);
  });
}

TEST_F(DialogsTest, LastConnectedChannelCannotBeSwitchedOff) {
  InNetworkDialog([this] {
    Disconnect(1, nullptr);  // no warning may appear
    EXPECT_FALSE(Page(1).DisconnectBox()->isChecked());
    EXPECT_EQ(Ws().channels.activeChannel, 1);
  });
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(DialogsTest, ClosingTheNetworkDialogSavesChannelsAndActivatesTheChosenOne) {
  InNetworkDialog([this] {
    Disconnect(4, nullptr);
    Page(4).TypeBox()->setCurrentText(QStringLiteral("ЖРМ 3"));
    Page(4).ZhrmEdit()->setText(QString());
    QTest::keyClicks(Page(4).ZhrmEdit(), "0077");
    QTest::mouseClick(Page(4).ActiveMark(), Qt::LeftButton);
    Network().Pages()->setCurrentIndex(3);
  });
  IniFile ini;
  ASSERT_TRUE(ini.Load(SettingsPath()));
  EXPECT_EQ(ini.ReadString("ЖРМ 4 конт", "Select", ""), "1");
  EXPECT_EQ(ini.ReadString("ЖРМ 4 конт", "Set", ""), "0");
  EXPECT_EQ(ini.ReadString("ЖРМ 4 конт", "Верс", ""), "ЖРМ 3");
  EXPECT_EQ(ini.ReadString("ЖРМ 4 конт", "ЖРМ", ""), "0077");
  EXPECT_EQ(ini.ReadString("Общие", "ActivePage", ""), "4");
  // The active device is saved as it was before the dialog's changes.
  EXPECT_EQ(ini.ReadString("Активный ЖРМ", "Верс", ""), "ЖРМ 1.5");
  EXPECT_EQ(Main().TypeField()->text(), "ЖРМ 3");
  EXPECT_EQ(Main().ZhrmField()->text(), "0077");
  EXPECT_EQ(Ws().device.baseFileName, "Base4.bsd");
}

TEST_F(DialogsTest, PortDialogShowsTheSpeedBoxForTheZhrm3FamilyOnly) {
  struct Case {
    const char* type;
    const char* label;  ///< empty: hidden
  };
  const Case cases[] = {{"ЖРМ 3", "Установка скорости обмена для ЖРМ 3"},
                        {"ЖРМ 3+", "Установка скорости обмена для ЖРМ 3"},
                        {"ЖРМ 200", "Установка скорости обмена для ЖРМ 200"},
                        {"ЖРМ 1.5", ""},
                        {"ЖРМ 2.0", ""},
                        {"ККМ ЗЕЛ-7Ф", ""}};
  for (const Case& c : cases) {
    Port().PrepareForType(c.type);
    const bool shown = *c.label != '\0';
    EXPECT_EQ(Port().Label1()->isVisibleTo(&Port()), shown) << c.type;
    EXPECT_EQ(Port().ComboBox1()->isVisibleTo(&Port()), shown) << c.type;
    if (shown) {
      EXPECT_EQ(Port().Label1()->text().toStdString(), c.label);
    }
  }
}

TEST_F(DialogsTest, ClosingThePortDialogAppliesTheLineProfile) {
  struct Case {
    const char* type;
    const char* speedTyped;
    uint32_t baud;
    const char* speedAfter;
    bool dtr;
  };
  const Case cases[] = {{"ЖРМ 3+", "4800", 9600, "9600", false},
                        {"ЖРМ 3", "57600", 57600, "57600", false},
                        {"ЖРМ 2.0", "57600", 19200, "57600", true},
                        {"ЖРМ 1.5", "9600", 10416, "9600", true}};
  for (const Case& c : cases) {
    Ws().device.typeText = c.type;
    WhenVisible(&Port(), [this, &c] {
      Port().ComboBox1()->setCurrentText(QString::fromUtf8(c.speedTyped));
      QTest::mouseClick(Port().Button3(), Qt::LeftButton);
    });
    Main().Run(Command::PortSettings);
    EXPECT_EQ(line->Current().baud, c.baud) << c.type;
    EXPECT_EQ(line->Dtr(), c.dtr) << c.type;
    EXPECT_EQ(core->port.speedText, c.speedAfter) << c.type;
    EXPECT_EQ(Port().ComboBox1()->currentText().toStdString(), c.speedAfter) << c.type;
  }
}

TEST_F(DialogsTest, PortDialogEditsChoiceAndPathAndReopens) {
  Port().PrepareForType("ЖРМ 1.5");
  EXPECT_TRUE(Port().RadioButton(4)->isChecked());
  EXPECT_EQ(Port().PathEdit(0)->text(), "/dev/ttyS0");
  QTest::mouseClick(Port().RadioButton(1), Qt::LeftButton);
  Port().PathEdit(1)->clear();
  QTest::keyClicks(Port().PathEdit(1), kUnopenablePath);
  EXPECT_EQ(core->port.comIndex, 1);
  EXPECT_EQ(core->port.comPaths[1], kUnopenablePath);
  QTest::mouseClick(Port().Button1(), Qt::LeftButton);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Порт уже используется или недоступен !"});
  EXPECT_FALSE(core->link.PortValid());
  QTest::mouseClick(Port().RadioButton(0), Qt::LeftButton);
  QTest::mouseClick(Port().Button1(), Qt::LeftButton);
  EXPECT_EQ(prompts.texts().back(), "Порт проинициализирован !");
  EXPECT_TRUE(core->link.PortValid());
}

TEST_F(DialogsTest, PathFieldsOfferThePluggedInUsbAdapters) {
  const std::filesystem::path byId = dir / "by-id";
  std::filesystem::create_directories(byId);
  Port().SetAdapterFolder(byId);
  Port().Refresh();
  EXPECT_FALSE(Port().AdapterButton(0)->isVisible()) << "nothing plugged in";
  for (const char* name : {"usb-FTDI_FT232R_A10K-if00-port0", "usb-Prolific_2303-if00-port0"}) {
    std::ofstream(byId / name) << "";
  }
  Port().Refresh();
  ASSERT_TRUE(Port().AdapterButton(2)->isVisible());
  Port().AdapterButton(2)->trigger();
  ASSERT_NE(Port().AdapterMenu(), nullptr);
  const QList<QAction*> choices = Port().AdapterMenu()->actions();
  ASSERT_EQ(choices.size(), 2);
  const std::string ftdi = (byId / "usb-FTDI_FT232R_A10K-if00-port0").string();
  EXPECT_EQ(choices[0]->text().toStdString(), ftdi);
  choices[0]->trigger();
  EXPECT_EQ(Port().PathEdit(2)->text().toStdString(), ftdi);
  EXPECT_EQ(core->port.comPaths[2], ftdi);
  Port().AdapterMenu()->close();
}

TEST_F(DialogsTest, TapeReminderIsOneOnlyThroughOkAndKeepsTheChoice) {
  TReadKLWarning& reminder = *windows->ReadKLWarning();
  WhenVisible(&reminder, [&reminder] {
    QTest::mouseClick(reminder.Choice(3), Qt::LeftButton);
    QTest::mouseClick(reminder.OkButton(), Qt::LeftButton);
  });
  EXPECT_EQ(reminder.Run(), 1);
  EXPECT_EQ(Ws().options.reminderMode, 3);
  WhenVisible(&reminder, [&reminder] { reminder.close(); });
  EXPECT_EQ(reminder.Run(), 0);
  EXPECT_TRUE(reminder.Choice(3)->isChecked());
}

TEST_F(DialogsTest, AboutBoxNamesProgramAndVersion) {
  QStringList texts;
  QWidget* box = windows->AboutBox();
  WhenVisible(box, [&texts, box] {
    for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
    EXPECT_EQ(box->windowTitle().toStdString(), "О программе");
    QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
  });
  Main().Run(Command::About);
  EXPECT_TRUE(texts.contains(QStringLiteral("ZELBase")));
  EXPECT_TRUE(texts.contains(QStringLiteral("Версия 4.0")));
}

TEST_F(DialogsTest, HelpOpensAtTheContentsAnchor) {
  Main().Run(Command::HelpContents);
  ASSERT_NE(Main().Help(), nullptr);
  EXPECT_TRUE(Main().Help()->isVisible());
  const QUrl source = Main().Help()->Browser()->source();
  EXPECT_EQ(source.fragment(), "Cont");
  // The temporary program folder has no Help/: the built-in copy is shown.
  EXPECT_EQ(source.scheme(), "qrc");
  EXPECT_TRUE(Main().Help()->Browser()->toPlainText().contains(QStringLiteral("Выбор базы")));
  QTest::keyClick(Main().Help()->Browser(), Qt::Key_Escape);
  EXPECT_FALSE(Main().Help()->isVisible());
}

TEST_F(DialogsTest, HelpPrefersTheProgramFoldersFile) {
  std::filesystem::create_directories(dir / "Help");
  std::ofstream(dir / "Help" / "ZELBase.html")
      << "<html><body><a name=\"Cont\"></a>local</body></html>";
  EXPECT_EQ(HelpUrl(dir).toLocalFile().toStdString(), (dir / "Help" / "ZELBase.html").string());
}

}  // namespace
}  // namespace zel::testing
