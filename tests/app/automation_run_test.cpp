// The program as an automation server on the offscreen platform with its
// real message boxes: the main window shown, boxes that never keep a client
// waiting, and an end only by the program's own paths.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>

#include "app/app_core.h"
#include "app/fshk1.h"
#include "app/program_run.h"
#include "app/qt_prompts.h"
#include "app_fixture.h"
#include "devices/zhrm3_record.h"
#include "server/server_codes.h"
#include "server/server_host.h"
#include "sim/zhrm3_device.h"
#include "support/environment.h"

namespace zel::testing {
namespace {

QVariant V(const QVariant& v) {
  return QVariant::fromValue(QDBusVariant(v));
}

class AutomationRun : public ::testing::Test, protected FolderOnLine {
 protected:
  void SetUp() override {
    if (!HaveSessionBus()) GTEST_SKIP() << "no D-Bus session bus (run under dbus-run-session)";
    QtApp();
    core = std::make_unique<AppCore>(dir, prompts, Opener());
    run = std::make_unique<ProgramRun>(*core, prompts, ServerStartMode::Automation, false);
    service = QStringLiteral("Zhrm.Server.run%1").arg(QCoreApplication::applicationPid());
    // No ZELBase.ini: the start-up load raises its box, which must not wait.
    ASSERT_TRUE(run->Start(QDBusConnection::sessionBus(), service));
    client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "run-client");
  }

  void TearDown() override {
    run.reset();
    core.reset();
    QDBusConnection::disconnectFromBus("run-client");
  }

  /// Calls `member` and runs events until its reply is in, at most 1 s.
  QDBusMessage Call(const QString& member, const QList<QVariant>& args = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, "/Server", "Zhrm.IServer", member);
    call.setArguments(args);
    QDBusPendingCallWatcher watcher(client.asyncCall(call, 1000));
    QTimer tick;
    tick.start(50);
    QDeadlineTimer deadline(1500);
    while (!watcher.isFinished() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_TRUE(watcher.isFinished()) << member.toStdString() << " got no reply";
    return watcher.reply();
  }

  int CallInt(const QString& member, const QList<QVariant>& args = {}) {
    const QDBusMessage reply = Call(member, args);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
        << member.toStdString() << ": " << reply.errorMessage().toStdString();
    return reply.arguments().value(0).toInt();
  }

  /// Channel n of `type` with ЖРМ number `zhrm`, switched on.
  void Channel(int n, const std::string& type, const std::string& zhrm = "0001") {
    DeviceChannel& c = core->ws.channels.Channel(n);
    c.disconnected = false;
    c.deviceType = type;
    c.zhrmNumber = zhrm;
    c.kkmNumber = "00000001";
  }

  QtPrompts prompts;
  std::unique_ptr<AppCore> core;
  std::unique_ptr<ProgramRun> run;
  QString service;
  QDBusConnection client{QString()};
};

TEST_F(AutomationRun, ShowsTheMainWindowAfterTheStartUpLoad) {
  EXPECT_TRUE(run->Main().isVisible());
  EXPECT_TRUE(core->settings.settingsLoaded);
  EXPECT_EQ(CallInt("BaseStatus"), 2);
}

// Each member reaches a box; nobody watches the window offscreen, so the
// call is answered at once with the code it would have had once answered.
TEST_F(AutomationRun, BoxesRaisedForACallNeverKeepItWaiting) {
  auto device = std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  line->Attach(device);
  Channel(2, "ЖРМ 200");
  Channel(3, "ЖРМ 3", "12a4");
  Channel(4, "ЖРМ 3");
  Channel(5, "ЖРМ 3");
  std::filesystem::remove(dir / "Base" / "Base4.bsd");
  const struct {
    const char* what;
    QList<std::pair<QString, QList<QVariant>>> calls;  // the last one raises the box
    int result;
    int code;
  } cases[] = {
      {"range past the capacity",
       {{"SelectBase", {V(2)}}, {"SetRange", {1, 12000}}},
       0,
       kCodeBadRange},
      {"bad device number", {{"SelectBase", {V(3)}}, {"ReadBase", {}}}, 0, kCodeBadZhrmNumber},
      {"missing base file", {{"SelectBase", {V(4)}}}, 1, kCodeOk},
  };
  for (const auto& c : cases) {
    for (const auto& [member, args] : c.calls) {
      QElapsedTimer timer;
      timer.start();
      const int result = CallInt(member, args);
      EXPECT_LT(timer.elapsed(), 1000) << c.what << " " << member.toStdString();
      if (&member == &c.calls.back().first) {
        EXPECT_EQ(result, c.result) << c.what;
      }
    }
    EXPECT_EQ(CallInt("GetBaseError"), c.code) << c.what;
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "Base" / "Base4.bsd"));

  // The final store of a read fails: the exchange still ends, and says so.
  ASSERT_EQ(CallInt("SelectBase", {V(5)}), 1);
  ASSERT_EQ(CallInt("SetRange", {1, 4}), 1);
  std::filesystem::remove(dir / "Base" / "Base5.bsd");
  std::filesystem::create_directory(dir / "Base" / "Base5.bsd");
  ASSERT_EQ(CallInt("ReadBase"), 1);
  QDeadlineTimer deadline(10000);
  while (CallInt("BaseStatus") != 2 && !deadline.hasExpired()) {
  }
  EXPECT_EQ(CallInt("BaseStatus"), 2);
  EXPECT_EQ(CallInt("GetBaseError"), kCodeLinkFailure);
}

// The window hidden by a client, a box closed: the program goes on serving
// and the running read ends and stores its file; only an explicit end quits.
TEST_F(AutomationRun, ClosingABoxWhileTheWindowIsHiddenDoesNotEndTheProgram) {
  auto device = std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  ProductRecord last;
  last.name = "LAST";
  last.price = "1.00";
  last.section = "1";
  EncodeZhrm3Record(last, device->Record(99).first<kZhrm3RecordBytes>());
  line->Attach(device);
  Channel(1, "ЖРМ 3");
  bool finished = false;
  // Looks now and then, never in a loop of its own: a look may come inside
  // the events a running step processes, and a loop there would hold the step.
  QTimer look;
  const QDeadlineTimer deadline(30000);
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (CallInt("BaseStatus") != 2 && !deadline.hasExpired()) return;
    look.stop();
    EXPECT_EQ(CallInt("GetBaseError"), kCodeOk);
    std::vector<ProductRecord> stored;
    std::string error;
    EXPECT_TRUE(core->ws.folder.ReadRecords("Base1.bsd", 99, 1, stored, error)) << error;
    EXPECT_EQ(stored.empty() ? "" : stored[0].name, "LAST        ");
    finished = true;
    QCoreApplication::quit();
  });
  QTimer::singleShot(0, [&] {
    Call("Visible", {0});
    EXPECT_FALSE(run->Main().isVisible());
    EXPECT_EQ(CallInt("SelectBase", {V(1)}), 1);
    EXPECT_EQ(CallInt("SetRange", {1, 100}), 1);
    EXPECT_EQ(CallInt("ReadBase"), 1);
    auto* box = new QMessageBox(QMessageBox::Critical, "Ошибка", "Неверный номер ЖРМ !!!");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    box->close();
    look.start(20);  // runs only if the closed box did not end the event loop
  });
  QTimer::singleShot(60000, [] { QCoreApplication::exit(1); });
  QApplication::exec();
  EXPECT_TRUE(finished) << "the program ended before the read had stored its file";
}

}  // namespace
}  // namespace zel::testing
