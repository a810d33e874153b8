// The server on a private session bus (the test command runs under
// dbus-run-session), called from other connections of this process.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QTimer>
#include <QXmlStreamReader>
#include <cmath>

#include "devices/zhrm3_record.h"
#include "server/member_table.h"
#include "server/server_host.h"
#include "server_fixture.h"
#include "support/environment.h"

namespace zel::testing {
namespace {

QDBusVariant V(const QVariant& v) {
  return QDBusVariant(v);
}

class DBusServer : public OperationsTest {
 protected:
  void SetUp() override {
    if (!HaveSessionBus()) GTEST_SKIP() << "no D-Bus session bus (run under dbus-run-session)";
    QtCore();
    Activate("ЖРМ 3");
    host = std::make_unique<ServerHost>(ws, tapes, view, settings, automation);
    QObject::connect(host.get(), &ServerHost::quitRequested, [this] { ++quitRequests; });
    serverBus = Connect("server");
    service = QStringLiteral("Zhrm.Server.t%1").arg(QCoreApplication::applicationPid());
    std::string error;
    ASSERT_TRUE(host->Start(serverBus, service, error)) << error;
  }

  void TearDown() override {
    host.reset();
    for (const QString& name : connections) QDBusConnection::disconnectFromBus(name);
  }

  QDBusConnection Connect(const QString& role) {
    const QString name = role + QString::number(++connectionCount);
    connections.push_back(name);
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
  }

  /// Calls `member` from `client` and runs events until the reply is in.
  QDBusMessage Call(const QDBusConnection& client, const QString& member,
                    const QList<QVariant>& args = {},
                    const QString& interface = QString::fromUtf8(kInterfaceName.data())) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, "/Server", interface, member);
    call.setArguments(args);
    return Wait(client.asyncCall(call));
  }

  /// Runs events until the reply of `pending` is in; the watcher's signal
  /// wakes the loop.
  QDBusMessage Wait(QDBusPendingCall pending) {
    QDBusPendingCallWatcher watcher(pending);
    bool finished = watcher.isFinished();
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, [&] { finished = true; });
    RunUntil([&] { return finished; });
    return watcher.reply();
  }

  int CallInt(const QDBusConnection& client, const QString& member,
              const QList<QVariant>& args = {}) {
    const QDBusMessage reply = Call(client, member, args);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    return reply.arguments().value(0).toInt();
  }

  /// Runs events until `done` holds, waiting for them rather than spinning;
  /// a ticking timer bounds each wait so the deadline is seen.
  template <typename F>
  void RunUntil(F done) {
    QTimer tick;
    tick.start(100);
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_TRUE(done());
  }

  /// `client` leaves the bus: no reference to its connection remains.
  static void Leave(QDBusConnection& client) {
    const QString name = client.name();
    client = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(name);
  }

  std::string Stored4096Name() {
    std::vector<ProductRecord> records;
    std::string error;
    EXPECT_TRUE(ws.folder.ReadRecords(ws.device.baseFileName, 4095, 1, records, error)) << error;
    return records.empty() ? "" : records[0].name;
  }

  bool automation = true;
  TapeTables tapes;
  RecordingServerView view;
  Settings settings{dir.path()};
  std::unique_ptr<ServerHost> host;
  QDBusConnection serverBus{QString()};
  QString service;
  std::vector<QString> connections;
  int connectionCount = 0;
  int quitRequests = 0;
};

struct IntrospectedMethod {
  std::string name;
  std::string args;  // "Par1:i:in Par2:i:in Value:i:out "
  std::string dispId;
};

std::vector<IntrospectedMethod> ParseInterface(const QString& xml) {
  std::vector<IntrospectedMethod> methods;
  QXmlStreamReader reader(xml);
  bool inside = false;
  while (!reader.atEnd()) {
    reader.readNext();
    if (!reader.isStartElement() && !reader.isEndElement()) continue;
    const auto a = reader.attributes();
    if (reader.name() == u"interface") {
      inside = reader.isStartElement() && a.value("name") == u"Zhrm.IServer";
    } else if (inside && reader.isStartElement() && reader.name() == u"method") {
      methods.push_back({a.value("name").toString().toStdString(), "", ""});
    } else if (inside && reader.isStartElement() && reader.name() == u"arg") {
      methods.back().args += (a.value("name").toString() + ":" + a.value("type").toString() + ":" +
                              a.value("direction").toString() + " ")
                                 .toStdString();
    } else if (inside && reader.isStartElement() && reader.name() == u"annotation" &&
               a.value("name") == u"Zhrm.DispId") {
      methods.back().dispId = a.value("value").toString().toStdString();
    }
  }
  return methods;
}

TEST_F(DBusServer, IntrospectionIsTheMemberTable) {
  QDBusConnection client = Connect("client");
  const QDBusMessage reply =
      Call(client, "Introspect", {}, QStringLiteral("org.freedesktop.DBus.Introspectable"));
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  const std::vector<IntrospectedMethod> methods = ParseInterface(reply.arguments()[0].toString());
  const auto members = IServerMembers();
  ASSERT_EQ(methods.size(), members.size());
  for (std::size_t i = 0; i < members.size(); ++i) {
    const ServerMember& m = members[i];
    std::string args;
    for (const MemberParam& p : m.Params()) {
      args += std::string(p.name) + (p.type == ParamType::Long ? ":i:in " : ":v:in ");
    }
    if (m.result != ResultType::None) args += "Value:" + OutSignature(m) + ":out ";
    EXPECT_EQ(methods[i].name, m.name) << i;
    EXPECT_EQ(methods[i].args, args) << m.name;
    EXPECT_EQ(methods[i].dispId, std::to_string(m.dispId)) << m.name;
  }
}

// The value 1 in every D-Bus type a client may put in a VARIANT.
struct VariantOne {
  const char* type;
  QVariant value;
};

std::vector<VariantOne> OneInEveryType() {
  return {{"s", QStringLiteral("1")},
          {"y", QVariant::fromValue(uchar(1))},
          {"n", QVariant::fromValue(short(1))},
          {"q", QVariant::fromValue(ushort(1))},
          {"i", QVariant::fromValue(int(1))},
          {"u", QVariant::fromValue(uint(1))},
          {"x", QVariant::fromValue(qlonglong(1))},
          {"t", QVariant::fromValue(qulonglong(1))},
          {"d", QVariant::fromValue(1.0)},
          {"vd", QVariant::fromValue(V(QVariant::fromValue(1.0)))},
          {"vvi", QVariant::fromValue(V(QVariant::fromValue(V(1))))}};
}

QList<QVariant> AddTovarArgs(int position, const QVariant& value) {
  QList<QVariant> args = {
      QVariant::fromValue(V(QStringLiteral("N"))), QVariant::fromValue(V(QStringLiteral("2"))),
      QVariant::fromValue(V(QStringLiteral("2"))), QVariant::fromValue(V(QStringLiteral("2")))};
  args[position] = QVariant::fromValue(V(value));
  return args;
}

TEST_F(DBusServer, EveryVariantParameterTakesEveryNumberType) {
  QDBusConnection client = Connect("client");
  const int columns[] = {kColName, kColPrice, kColSection, kColBarcode};
  const char* expected[] = {"1", "1.00", "1", "1"};
  for (const VariantOne& one : OneInEveryType()) {
    for (int p = 0; p < 4; ++p) {
      CallInt(client, "SetRange", {1, 2});
      CallInt(client, "SetTop", {0});
      EXPECT_EQ(CallInt(client, "AddTovar", AddTovarArgs(p, one.value)), 1) << one.type << p;
      EXPECT_EQ(ws.table.Cell(1, columns[p]), expected[p]) << one.type << p;
    }
    CallInt(client, "SetRange", {5, 4});  // code 3 before each
    EXPECT_EQ(CallInt(client, "SelectBase", {QVariant::fromValue(V(one.value))}), 1) << one.type;
    EXPECT_EQ(CallInt(client, "GetBaseError"), kCodeOk) << one.type;
    // No slot list was read: slot 1 does not exist, an expected refusal.
    EXPECT_EQ(CallInt(client, "ReadKL", {QVariant::fromValue(V(one.value))}), 0) << one.type;
    EXPECT_EQ(CallInt(client, "GetBaseError"), kCodeNoSuchSlot) << one.type;
  }
}

TEST_F(DBusServer, DoublesBecomeTextAsAComVariantDoes) {
  QDBusConnection client = Connect("client");
  const struct {
    int position;
    double value;
    int result;
    const char* cell;  // the cell of the parameter after the call
  } cases[] = {
      {1, 0.5, 1, "0.50"},       {1, 12.25, 1, "12.25"},
      {1, 1e6, 1, "1000000.00"}, {2, 3.0, 1, "3"},
      {2, 3.5, 0, nullptr},      {0, 2.5, 1, "2.5"},
      {0, -0.0, 1, "0"},         {3, 4600000000017.0, 1, "460000000001"},
  };
  const int columns[] = {kColName, kColPrice, kColSection, kColBarcode};
  for (const auto& c : cases) {
    CallInt(client, "SetRange", {1, 2});
    CallInt(client, "SetTop", {0});
    ws.table.SetCell(1, columns[c.position], "before");
    EXPECT_EQ(CallInt(client, "AddTovar", AddTovarArgs(c.position, c.value)), c.result) << c.value;
    EXPECT_EQ(ws.table.Cell(1, columns[c.position]), c.cell ? c.cell : "before") << c.value;
  }
  EXPECT_EQ(CallInt(client, "GetBaseError"), kCodeOk);
  ws.channels.Channel(5).disconnected = false;
  CallInt(client, "SetRange", {5, 4});
  EXPECT_EQ(CallInt(client, "SelectBase", {QVariant::fromValue(V(5.0))}), 1);
  EXPECT_EQ(ws.channels.activeChannel, 5);
  for (double outside : {17.0, 0.5, 16.5, -1.0}) {
    CallInt(client, "SetRange", {5, 4});
    EXPECT_EQ(CallInt(client, "SelectBase", {QVariant::fromValue(V(outside))}), 0) << outside;
    EXPECT_EQ(CallInt(client, "GetBaseError"), kCodeBadRemoteBase) << outside;
  }
}

TEST_F(DBusServer, VariantThatNoConversionFitsFailsShortlyAndKeepsTheCode) {
  QDBusConnection client = Connect("client");
  QDBusArgument structure;
  structure.beginStructure();
  structure << 1 << QStringLiteral("x");
  structure.endStructure();
  const QString huge(8 * 1024 * 1024, QLatin1Char('7'));
  const struct {
    const char* what;
    QVariant value;
  } bad[] = {
      {"b", QVariant::fromValue(true)},
      {"as", QStringList{QStringLiteral("1")}},
      {"ay", QByteArray("1")},
      {"(is)", QVariant::fromValue(structure)},
      {"vb", QVariant::fromValue(V(QVariant::fromValue(false)))},
      {"d nan", QVariant::fromValue(std::nan(""))},
      {"8 MB", huge + QStringLiteral("x")},
  };
  for (const auto& b : bad) {
    const QList<QVariant> calls[] = {{QVariant::fromValue(V(b.value))}, AddTovarArgs(1, b.value)};
    const char* members[] = {"SelectBase", "AddTovar"};
    for (int m = 0; m < 2; ++m) {
      CallInt(client, "SetRange", {5, 4});  // code 3
      const QDBusMessage reply = Call(client, members[m], calls[m]);
      EXPECT_EQ(reply.errorName(), "Zhrm.Error.Failed") << b.what << members[m];
      EXPECT_LT(reply.errorMessage().size(), 120) << b.what << members[m];
      EXPECT_EQ(CallInt(client, "GetBaseError"), kCodeBadRange) << b.what << members[m];
    }
  }
  const QDBusMessage slot = Call(client, "ReadKL", {QVariant::fromValue(V(2.5))});
  EXPECT_EQ(slot.errorName(), "Zhrm.Error.Failed");
  EXPECT_EQ(CallInt(client, "GetBaseError"), kCodeBadRange);
}

TEST_F(DBusServer, AddTovarAndPropertyGetsTravelAsText) {
  QDBusConnection client = Connect("client");
  ASSERT_EQ(CallInt(client, "SetRange", {1, 2}), 1);
  ASSERT_EQ(CallInt(client, "AddTovar",
                    {QVariant::fromValue(V(QStringLiteral("КЕФИР"))),
                     QVariant::fromValue(V(QStringLiteral("12,5"))), QVariant::fromValue(V(3)),
                     QVariant::fromValue(V(QStringLiteral("4600000000017")))}),
            1);
  ASSERT_EQ(CallInt(client, "SetTop", {0}), 1);
  ASSERT_EQ(CallInt(client, "GetNextTovar"), 1);
  const struct {
    const char* member;
    QString value;
  } expected[] = {{"Number", "1"},  {"Name", "КЕФИР"},           {"Price", "12.50"},
                  {"Section", "3"}, {"Sh_Code", "460000000001"}, {"TovGr", "0"}};
  for (const auto& e : expected) {
    const QDBusMessage reply = Call(client, e.member);
    ASSERT_EQ(reply.signature(), "s") << e.member;
    EXPECT_EQ(reply.arguments()[0].toString(), e.value) << e.member;
  }
  EXPECT_EQ(CallInt(client, "BaseStatus"), 2);
}

TEST_F(DBusServer, UnexpectedFailureIsAnErrorReplyAndTheCodeStays) {
  QDBusConnection client = Connect("client");
  CallInt(client, "SetRange", {5, 4});  // code 3
  const QDBusMessage bad = Call(
      client, "AddTovar",
      {QVariant::fromValue(V(QStringLiteral("X"))), QVariant::fromValue(V(QStringLiteral("abc"))),
       QVariant::fromValue(V(QStringLiteral("1"))), QVariant::fromValue(V(QStringLiteral("")))});
  EXPECT_EQ(bad.type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(bad.errorName(), "Zhrm.Error.Failed");
  EXPECT_TRUE(bad.errorMessage().contains("Price")) << bad.errorMessage().toStdString();
  EXPECT_EQ(CallInt(client, "GetBaseError"), kCodeBadRange);
}

TEST_F(DBusServer, BadCallsAreRefusedWithoutHarm) {
  QDBusConnection client = Connect("client");
  EXPECT_EQ(Call(client, "SetRange", {QStringLiteral("1"), 2}).errorName(),
            "org.freedesktop.DBus.Error.InvalidArgs");
  EXPECT_EQ(Call(client, "SetRange", {1}).errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
  EXPECT_EQ(Call(client, "Explode").errorName(), "org.freedesktop.DBus.Error.UnknownMethod");
  EXPECT_EQ(CallInt(client, "BaseStatus"), 2);
}

TEST_F(DBusServer, MembersAnswerWithoutTheInterfaceName) {
  QDBusConnection client = Connect("client");
  const QDBusMessage reply = Call(client, "SetRange", {5, 4}, QString());
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  EXPECT_EQ(reply.arguments().value(0).toInt(), 0);
  EXPECT_EQ(Call(client, "GetBaseError", {}, QString()).arguments().value(0).toInt(), 3);
}

TEST_F(DBusServer, VisibleReturnsNothing) {
  QDBusConnection client = Connect("client");
  const QDBusMessage reply = Call(client, "Visible", {0});
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(reply.arguments().isEmpty());
  EXPECT_EQ(view.visibility, std::vector<bool>{false});
}

TEST_F(DBusServer, ClientsAreTrackedUntilTheyLeaveTheBus) {
  QDBusConnection first = Connect("client");
  QDBusConnection second = Connect("client");
  EXPECT_FALSE(host->HasClients());
  CallInt(first, "BaseStatus");
  CallInt(first, "SetRange", {5, 4});
  EXPECT_EQ(CallInt(second, "GetBaseError"), kCodeBadRange);  // one shared state
  EXPECT_EQ(host->ClientCount(), 2);
  Leave(first);
  RunUntil([&] { return host->ClientCount() == 1; });
  EXPECT_EQ(quitRequests, 0);
  Leave(second);
  RunUntil([&] { return quitRequests == 1; });
  EXPECT_FALSE(host->HasClients());
}

TEST_F(DBusServer, ClientLeavingDuringAnExchangeLetsItFinishFirst) {
  auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  ProductRecord last;
  last.name = "LAST";
  last.price = "1.00";
  last.section = "1";
  EncodeZhrm3Record(last, device->Record(4095).first<kZhrm3RecordBytes>());
  bool idleAtQuit = false;
  QObject::connect(host.get(), &ServerHost::quitRequested, [&] {
    idleAtQuit =
        ws.run.exchangeState == ExchangeState::Idle && !host->Server().Context().stepper.Running();
  });
  QDBusConnection client = Connect("client");
  ASSERT_EQ(CallInt(client, "SetRange", {1, 4096}), 1);
  ASSERT_EQ(CallInt(client, "ReadBase"), 1);
  Leave(client);
  // 4096 steps outlast the bus telling us the client left, so the release
  // is seen while the exchange runs; it must not end the program early.
  RunUntil([&] { return !host->HasClients(); });
  if (host->Server().Context().stepper.Running()) {
    EXPECT_EQ(quitRequests, 0);
  }
  RunUntil([&] { return quitRequests > 0; });
  EXPECT_TRUE(idleAtQuit);
  EXPECT_EQ(host->Server().GetBaseError(), 0);
  EXPECT_EQ(ws.table.Cell(4096, kColName), "LAST        ");
  EXPECT_EQ(Stored4096Name(), "LAST        ");
}

class DBusServerNormalMode : public DBusServer {
 protected:
  DBusServerNormalMode() { automation = false; }
};

TEST_F(DBusServerNormalMode, LastClientLeavingKeepsTheProgram) {
  QDBusConnection client = Connect("client");
  CallInt(client, "BaseStatus");
  ASSERT_TRUE(host->HasClients());
  Leave(client);
  RunUntil([&] { return !host->HasClients(); });
  QCoreApplication::processEvents();
  EXPECT_EQ(quitRequests, 0);
}

TEST_F(DBusServer, TheContractNameIsServedOnTheSessionBus) {
  ServerHost real(ws, tapes, view, settings, false);
  std::string error;
  if (!real.Start(error)) {
    GTEST_SKIP() << "Zhrm.Server is not available on this bus: " << error;
  }
  QDBusConnection client = Connect("client");
  QDBusMessage call =
      QDBusMessage::createMethodCall("Zhrm.Server", "/Server", "Zhrm.IServer", "BaseStatus");
  EXPECT_EQ(Wait(client.asyncCall(call)).arguments().value(0).toInt(), 2);
  EXPECT_EQ(real.ClientCount(), 1);
}

}  // namespace
}  // namespace zel::testing
