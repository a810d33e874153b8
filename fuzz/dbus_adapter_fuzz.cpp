// The automation server's bus adapter, unit-level: TServer over a workspace
// on the simulated line (virtual clock; a device of the active type attached
// or not), its adapter on one end of a peer-to-peer D-Bus connection inside
// the process (no bus daemon), and calls from the other end with random
// interfaces, member names, signatures and variant contents (nested
// variants, arrays, maps, megabyte strings). The messages go through the
// real marshalling, so the adapter sees what a client on the bus sends.
// Holds: every call is answered; a call of Zhrm.IServer is answered as the
// member table says (UnknownMethod for a name it lacks, InvalidArgs for
// another signature, else a reply of the member's out signature or
// Zhrm.Error.Failed); BaseStatus is 1 or 2; every exchange started ends.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusServer>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "base/active_device.h"
#include "base/device_types.h"
#include "base/settings.h"
#include "fuzz_workspace.h"
#include "operations/control_tapes.h"
#include "server/dbus_adapter.h"
#include "server/member_table.h"
#include "server/server_view.h"
#include "server/tserver.h"
#include "sim/register_device.h"
#include "sim/simulated_line.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"

using namespace zel;
using namespace zel::fuzz;

namespace {

constexpr int kMaxCalls = 8;
constexpr int kReplyWaitMs = 10000;

class NullServerView final : public ServerView {
 public:
  void ShowServerPanel(bool) override {}
  void SetServerProgress(int) override {}
  void TapeTablesChanged() override {}
  void SetMainWindowVisible(bool) override {}
};

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The device that answers channel 1 (ЖРМ 0001, ККМ 00000001) for `type`.
std::shared_ptr<LineDevice> DeviceFor(std::string_view type) {
  if (type == kTypeZhrm15 || type == kTypeZhrm15v) return std::make_shared<Zhrm15Device>(1, 1);
  if (type == kTypeZhrm20) return std::make_shared<Zhrm20Device>(1);
  if (type == kTypeZhrm3) return std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 1);
  if (type == kTypeZhrm3Plus) return std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3Plus, 1);
  if (type == kTypeZhrm200) return std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm200, 1);
  return std::make_shared<RegisterDevice>(1);
}

// Runs events until `done` holds; false after the deadline.
template <typename F>
bool RunUntil(F done, int ms) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

// The process's one application, program folder, workspace and both ends
// of the peer connection.
struct Bench {
  Bench() : line(std::make_shared<SimulatedLine>(clock)), fw(folder.path(), line) {
    std::string error;
    if (!fw.ws.folder.CreateBase(fw.ws.device.baseFileName, error)) Broken(error);
    fw.port.OpenAtStartup();
    server.setAnonymousAuthenticationAllowed(true);
    QObject::connect(&server, &QDBusServer::newConnection,
                     [this](const QDBusConnection& c) { serverSide = c; });
    client = QDBusConnection::connectToPeer(server.address(), "fuzz-client");
    if (!RunUntil([this] { return serverSide.isConnected(); }, kReplyWaitMs) ||
        !client.isConnected()) {
      Broken("no peer connection: " + client.lastError().message().toStdString());
    }
  }

  static QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "dbus_adapter";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
  }

  QCoreApplication& app = App();
  ProgramFolder folder;
  VirtualClock clock;
  std::shared_ptr<SimulatedLine> line;
  FuzzWorkspace fw;
  TapeTables tapes;
  NullServerView view;
  QDBusServer server{"unix:dir=" + QString::fromStdString(folder.path().string())};
  QDBusConnection serverSide{QString()};
  QDBusConnection client{QString()};
};

// Channel 1 of the type the byte names, range 1..8 shown, a device on the
// line or none.
void Prepare(Bench& b, uint8_t choice) {
  Workspace& ws = b.fw.ws;
  const auto types = DeviceTypeTable::All();
  const std::string_view type = types[(choice & 0x7F) % types.size()].name;
  DeviceChannel& c = ws.channels.Channel(1);
  c.deviceType = std::string(type);
  c.zhrmNumber = "0001";
  c.kkmNumber = "00000001";
  c.disconnected = false;
  ws.channels.activeChannel = 1;
  ws.range.SetStartText("1");
  ws.range.SetEndText("8");
  ws.range.CurrentRecord = 1;
  ws.range.LastRecord = 8;
  SelectZhrm(ws);
  b.line->DetachAll();
  if (choice & 0x80) b.line->Attach(DeviceFor(type));
  b.fw.prompts.shown.clear();
}

// The input read front to back; past its end every read is zero. The seeds
// of fuzz/corpus/dbus_adapter/ are written in this form.
class Reader {
 public:
  Reader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  /// `n` bytes, least significant first.
  uint64_t Bytes(int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= uint64_t{Byte()} << (8 * i);
    return v;
  }
  /// A length byte and that many bytes.
  std::string Chunk() {
    const std::size_t n = std::min<std::size_t>(Byte(), size_ - std::min(at_, size_));
    std::string s(reinterpret_cast<const char*>(data_) + at_, n);
    at_ += n;
    return s;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// A D-Bus name part: [A-Za-z_][A-Za-z0-9_]*, 1..40 characters.
QString Identifier(Reader& r) {
  static constexpr std::string_view kChars =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_0123456789";
  const int n = 1 + r.Byte() % 40;
  QString s(kChars[r.Byte() % (kChars.size() - 10)]);
  for (int i = 1; i < n; ++i) s += kChars[r.Byte() % kChars.size()];
  return s;
}

// Text without NUL characters: D-Bus strings cannot hold them.
QString Text(Reader& r) {
  QString s = QString::fromStdString(r.Chunk());
  s.remove(QChar(0));
  return s;
}

// 0..34 the member of that position, 35..41 one in lower case, else any name.
QString MemberName(Reader& r) {
  const auto members = IServerMembers();
  const std::size_t pick = r.Byte() % 48;
  if (pick < members.size()) return Q(members[pick].name);
  if (pick < 42) return Q(members[pick % members.size()].name).toLower();
  return Identifier(r);
}

// 5..9 (and the zero past the end of the input) Zhrm.IServer.
QString InterfaceName(Reader& r) {
  switch (r.Byte() % 10) {
    case 1:
      return {};
    case 2:
      return "org.freedesktop.DBus.Introspectable";
    case 3:
      return "org.freedesktop.DBus.Properties";
    case 4:
      return "org.freedesktop.DBus.Peer";
    case 5:
      return Identifier(r) + "." + Identifier(r);
    default:
      return Q(kInterfaceName);
  }
}

QVariant Value(Reader& r, int depth, QString& signature);

QVariant Wrapped(Reader& r, int depth) {
  QString inner;
  return QVariant::fromValue(QDBusVariant(Value(r, depth + 1, inner)));
}

// A value of the D-Bus type the kind byte names (below 14 when nested three
// deep); `signature` gets its type.
QVariant Value(Reader& r, int depth, QString& signature) {
  static constexpr std::array<const char*, 18> kSignatures = {"i",  "u", "n", "q", "y",  "x",
                                                              "t",  "d", "b", "s", "s",  "ay",
                                                              "as", "g", "o", "v", "av", "a{sv}"};
  const int kind = r.Byte() % (depth < 3 ? 18 : 14);
  signature = kSignatures[static_cast<std::size_t>(kind)];
  switch (kind) {
    case 0:
      return static_cast<int32_t>(r.Bytes(4));
    case 1:
      return static_cast<uint32_t>(r.Bytes(4));
    case 2:
      return QVariant::fromValue(static_cast<int16_t>(r.Bytes(2)));
    case 3:
      return QVariant::fromValue(static_cast<uint16_t>(r.Bytes(2)));
    case 4:
      return QVariant::fromValue(r.Byte());
    case 5:
      return QVariant::fromValue(static_cast<qlonglong>(r.Bytes(8)));
    case 6:
      return QVariant::fromValue(static_cast<qulonglong>(r.Bytes(8)));
    case 7: {
      // Any bit pattern: NaN, infinities, denormals, -0.
      const uint64_t bits = r.Bytes(8);
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return d;
    }
    case 8:
      return static_cast<bool>(r.Byte() & 1);
    case 9:
      return Text(r);
    case 10:  // up to a megabyte of digits
      return QString(static_cast<qsizetype>(r.Bytes(3) % ((1 << 20) + 1)), QChar(u'9'));
    case 11:
      return QByteArray::fromStdString(r.Chunk());
    case 12:
      return QStringList{Text(r), Text(r)};
    case 13:
      return QVariant::fromValue(QDBusSignature("a{sv}"));
    case 14:
      return QVariant::fromValue(QDBusObjectPath("/" + Identifier(r)));
    case 15:
      return Wrapped(r, depth);
    case 16:
      return QVariantList{Wrapped(r, depth), Wrapped(r, depth)};
    default:
      return QVariantMap{{Identifier(r), Wrapped(r, depth)}};
  }
}

struct Call {
  QDBusMessage message;
  QString signature;  ///< of the arguments, as sent
};

// Interface, member, path (a byte of 1 names another object), then the
// arguments: for a member of the table an odd byte gives its own signature
// (a long as four bytes, a VARIANT as a value), otherwise a count byte and
// that many arguments, each a byte (odd: a VARIANT) and a value.
Call MakeCall(Reader& r) {
  const QString interface = InterfaceName(r);
  const QString member = MemberName(r);
  const QString path = r.Byte() == 1 ? "/Server/x" : "/Server";
  Call call{QDBusMessage::createMethodCall(QString(), path, interface, member), {}};
  QList<QVariant> args;
  const ServerMember* m = FindMember(member.toStdString());
  if (m && r.Byte() & 1) {
    for (const MemberParam& param : m->Params()) {
      if (param.type == ParamType::Long) {
        args << static_cast<int32_t>(r.Bytes(4));
      } else {
        args << Wrapped(r, 0);
      }
    }
    call.signature = Q(InSignature(*m));
  } else {
    const int n = r.Byte() % 6;
    for (int i = 0; i < n; ++i) {
      QString s;
      if (r.Byte() & 1) {
        args << Wrapped(r, 0);
        s = "v";
      } else {
        args << Value(r, 0, s);
      }
      call.signature += s;
    }
  }
  call.message.setArguments(args);
  return call;
}

bool IsOurs(const Call& c) {
  const QDBusMessage& m = c.message;
  return m.path() == "/Server" &&
         (m.interface() == Q(kInterfaceName) ||
          (m.interface().isEmpty() && FindMember(m.member().toStdString())));
}

void CheckReply(const Call& c, const QDBusMessage& reply) {
  const std::string what = c.message.member().toStdString() + "(" + c.signature.toStdString() + ")";
  if (reply.type() != QDBusMessage::ReplyMessage && reply.type() != QDBusMessage::ErrorMessage) {
    Broken(what + " was not answered");
  }
  const QString error = reply.errorName();
  if (error == "org.freedesktop.DBus.Error.NoReply" ||
      error == "org.freedesktop.DBus.Error.Timeout" ||
      error == "org.freedesktop.DBus.Error.Disconnected") {
    Broken(what + ": " + error.toStdString());
  }
  if (!IsOurs(c)) return;
  const ServerMember* m = FindMember(c.message.member().toStdString());
  QString expected;
  if (!m) {
    expected = "org.freedesktop.DBus.Error.UnknownMethod";
  } else if (c.signature != Q(InSignature(*m))) {
    expected = "org.freedesktop.DBus.Error.InvalidArgs";
  } else if (reply.type() == QDBusMessage::ReplyMessage) {
    if (reply.signature() != Q(OutSignature(*m))) {
      Broken(what + " replied (" + reply.signature().toStdString() + ")");
    }
    return;
  } else {
    expected = Q(kFailedErrorName);
  }
  if (error != expected) {
    Broken(what + " answered " + error.toStdString() + " (" + reply.errorMessage().toStdString() +
           "), not " + expected.toStdString());
  }
}

QDBusMessage Send(Bench& b, const QDBusMessage& message) {
  QDBusPendingCallWatcher watcher(b.client.asyncCall(message, kReplyWaitMs));
  RunUntil([&] { return watcher.isFinished(); }, 2 * kReplyWaitMs);
  return watcher.reply();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static Bench bench;
  if (size < 1) return 0;
  Prepare(bench, data[0]);
  Settings settings(bench.folder.path());
  TServer server(bench.fw.ws, bench.tapes, bench.view, settings);
  IServerAdaptor adaptor(server, nullptr);
  if (!bench.serverSide.registerVirtualObject(Q(kObjectPath), &adaptor)) {
    Broken("the adapter could not be registered");
  }
  Reader r(data + 1, size - 1);
  for (int i = 0; i < kMaxCalls && !r.AtEnd(); ++i) {
    const Call call = MakeCall(r);
    CheckReply(call, Send(bench, call.message));
    if (server.BaseStatus() != 1 && server.BaseStatus() != 2) Broken("BaseStatus out of 1..2");
  }
  if (!RunUntil([&] { return !server.Context().stepper.Running(); }, kReplyWaitMs)) {
    Broken("an exchange did not end");
  }
  bench.serverSide.unregisterObject(Q(kObjectPath));
  return 0;
}

// Megabyte arguments pass through several copies per call; a smaller
// quarantine of freed memory keeps a long run under libFuzzer's RSS limit
// (without one the process stays near 100 MB: nothing leaks).
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=64";
}
