#include "server/dbus_adapter.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "server/member_calls.h"

namespace zel {
namespace {

constexpr const char* kUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A double as a COM variant turns it into text: a whole number without
// decimals ("5"), any other the shortest decimal that reads back ("0.5").
std::optional<std::string> DoubleText(double d) {
  if (!std::isfinite(d)) return std::nullopt;
  if (d == 0) return "0";          // also -0
  std::array<char, 400> buffer{};  // the widest fixed form of a double fits
  const auto [end, ec] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), d, std::chars_format::fixed);
  if (ec != std::errc()) return std::nullopt;
  return std::string(buffer.data(), end);
}

// The D-Bus type of a value no conversion fits, for the message.
std::string TypeName(const QVariant& v) {
  switch (v.metaType().id()) {
    case QMetaType::Bool:
      return "b";
    case QMetaType::QStringList:
      return "as";
    case QMetaType::QByteArray:
      return "ay";
    default:
      break;
  }
  if (v.metaType() == QMetaType::fromType<QDBusArgument>()) {
    return v.value<QDBusArgument>().currentSignature().toStdString();
  }
  if (v.metaType() == QMetaType::fromType<QDBusObjectPath>()) return "o";
  if (v.metaType() == QMetaType::fromType<QDBusSignature>()) return "g";
  if (v.metaType() == QMetaType::fromType<QDBusUnixFileDescriptor>()) return "h";
  return v.metaType().name() ? v.metaType().name() : "unknown";
}

// A VARIANT argument: a string, a number of any D-Bus type, or a variant
// holding one of them. The message never repeats the value: a client may
// pass megabytes.
ServerValue VariantValue(const QVariant& wrapped, std::string_view name) {
  QVariant v = wrapped.value<QDBusVariant>().variant();
  while (v.metaType() == QMetaType::fromType<QDBusVariant>()) {
    v = v.value<QDBusVariant>().variant();
  }
  switch (v.metaType().id()) {
    case QMetaType::QString:
      return ServerValue(v.toString().toStdString());
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
      return ServerValue(static_cast<int64_t>(v.toLongLong()));
    case QMetaType::ULongLong: {
      const qulonglong n = v.toULongLong();
      if (n > static_cast<qulonglong>(std::numeric_limits<int64_t>::max())) {
        return ServerValue(std::to_string(n));
      }
      return ServerValue(static_cast<int64_t>(n));
    }
    case QMetaType::Double:
      if (std::optional<std::string> text = DoubleText(v.toDouble())) return ServerValue(*text);
      throw ServerFailure(std::string(name) + ": the number is not finite");
    default:
      break;
  }
  throw ServerFailure(std::string(name) + ": a string or a number is expected, not type " +
                      TypeName(v));
}

MemberArgs Arguments(const ServerMember& member, const QList<QVariant>& in) {
  std::vector<MemberArg> args;
  const std::span<const MemberParam> params = member.Params();
  for (std::size_t i = 0; i < params.size(); ++i) {
    const QVariant& arg = in.at(static_cast<qsizetype>(i));
    if (params[i].type == ParamType::Long) {
      args.emplace_back(arg.toInt());
    } else {
      args.emplace_back(VariantValue(arg, params[i].name));
    }
  }
  return MemberArgs(std::move(args));
}

QDBusMessage Reply(const QDBusMessage& message, const ServerMember& member,
                   const MemberResult& result) {
  if (member.result == ResultType::Long && std::holds_alternative<int>(result)) {
    return message.createReply(std::get<int>(result));
  }
  if (member.result == ResultType::Variant && std::holds_alternative<std::string>(result)) {
    return message.createReply(QString::fromStdString(std::get<std::string>(result)));
  }
  if (member.result == ResultType::None && std::holds_alternative<std::monostate>(result)) {
    return message.createReply();
  }
  throw ServerFailure(std::string(member.name) + ": the result does not fit the interface");
}

}  // namespace

IServerAdaptor::IServerAdaptor(TServer& server, std::function<void(const QString&)> onCaller)
    : server_(server), onCaller_(std::move(onCaller)) {}

bool IServerAdaptor::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  if (message.type() != QDBusMessage::MethodCallMessage) return false;
  // Introspection, properties and peer calls go to the bus library's own
  // handlers, also when a client leaves the interface out.
  const bool ours = message.interface() == Q(kInterfaceName);
  if (!ours && (!message.interface().isEmpty() || !FindMember(message.member().toStdString()))) {
    return false;
  }
  const QDBusMessage reply = Answer(message);
  if (message.isReplyRequired()) connection.send(reply);
  return true;
}

QDBusMessage IServerAdaptor::Answer(const QDBusMessage& message) {
  const ServerMember* member = FindMember(message.member().toStdString());
  const MemberCall* call = member ? FindMemberCall(member->name) : nullptr;
  if (!member || !call) {
    return message.createErrorReply(kUnknownMethod,
                                    "Zhrm.IServer has no member " + message.member());
  }
  const QString expected = QString::fromStdString(InSignature(*member));
  if (message.signature() != expected) {
    return message.createErrorReply(kInvalidArgs,
                                    QStringLiteral("%1 takes (%2), not (%3)")
                                        .arg(message.member(), expected, message.signature()));
  }
  if (onCaller_) onCaller_(message.service());
  const ClientPromptScope forClient(server_.Context().ws.prompts);
  try {
    return Reply(message, *member, call->call(server_, Arguments(*member, message.arguments())));
  } catch (const std::exception& e) {
    return message.createErrorReply(Q(kFailedErrorName),
                                    message.member() + ": " + QString::fromUtf8(e.what()));
  } catch (...) {
    return message.createErrorReply(Q(kFailedErrorName), message.member() + ": unexpected failure");
  }
}

QString IServerAdaptor::introspect(const QString& /*path*/) const {
  return QString::fromStdString(InterfaceXml());
}

}  // namespace zel
