#include "server/member_table.h"

namespace zel {
namespace {

constexpr ParamType L = ParamType::Long;
constexpr ParamType V = ParamType::Variant;
constexpr MemberKind M = MemberKind::Method;
constexpr MemberKind P = MemberKind::PropertyGet;

constexpr ServerMember Member(int pos, int id, std::string_view name, MemberKind kind,
                              ResultType result, std::array<MemberParam, 4> params = {},
                              int count = 0) {
  return {pos, id, name, kind, params, count, result};
}

constexpr ServerMember Long(int pos, int id, std::string_view name, MemberKind kind = M) {
  return Member(pos, id, name, kind, ResultType::Long);
}

constexpr ServerMember Text(int pos, int id, std::string_view name) {
  return Member(pos, id, name, P, ResultType::Variant);
}

constexpr ServerMember Long1(int pos, int id, std::string_view name, MemberParam a) {
  return Member(pos, id, name, M, ResultType::Long, {a}, 1);
}

constexpr ServerMember Long2(int pos, int id, std::string_view name, MemberParam a, MemberParam b) {
  return Member(pos, id, name, M, ResultType::Long, {a, b}, 2);
}

constexpr std::array<ServerMember, 35> kMembers = {{
    Long(0, 1, "GetBaseError"),
    Long2(1, 2, "SetRange", {"Par1", L}, {"Par2", L}),
    Long(2, 3, "WriteBase"),
    Long(3, 4, "ReadBase"),
    Long(4, 5, "BaseStatus", P),
    Long(5, 6, "ReadUchet"),
    Long(6, 7, "ClearUchet"),
    Member(7, 8, "AddTovar", M, ResultType::Long,
           {{{"Name", V}, {"Price", V}, {"Section", V}, {"Sh_Code", V}}}, 4),
    Long(8, 9, "GetNext"),
    Long1(9, 10, "SetTop", {"Par", L}),
    Long(10, 11, "GetNextTovar"),
    Text(11, 13, "Name"),
    Text(12, 14, "Price"),
    Text(13, 15, "Section"),
    Text(14, 16, "Sh_Code"),
    Text(15, 17, "Uchet"),
    Long(16, 18, "SavePos"),
    Long(17, 19, "ClearTable"),
    Long1(18, 20, "SelectBase", {"Base", V}),
    Text(19, 12, "Number"),
    Text(20, 21, "TovGr"),
    Long(21, 22, "ReadBlockKL"),
    Long1(22, 23, "ReadKL", {"SlotNumber", V}),
    Long(23, 24, "GetNextBlockKL"),
    Text(24, 25, "KLNumber"),
    Text(25, 26, "KLDate"),
    Text(26, 27, "KLKolvo"),
    Long(27, 28, "SetTopBlockKL"),
    Long(28, 29, "SlotKLCount", P),
    Long(29, 30, "GetNextTovarKL"),
    Long(30, 31, "SetTopTovarKL"),
    Member(31, 32, "Visible", M, ResultType::None, {{{"Par", L}}}, 1),
    Text(32, 33, "PrVes"),
    Long2(33, 34, "SetPrVes", {"Num", L}, {"PrVes", L}),
    Long2(34, 35, "SetTovGr", {"Num", L}, {"TovGr", L}),
}};

char TypeCode(ParamType type) {
  return type == ParamType::Long ? 'i' : 'v';
}

std::string ArgXml(std::string_view name, char type, std::string_view direction) {
  std::string xml = "      <arg name=\"";
  xml += name;
  xml += "\" type=\"";
  xml += type;
  xml += "\" direction=\"";
  xml += direction;
  xml += "\"/>\n";
  return xml;
}

std::string AnnotationXml(std::string_view name, std::string_view value) {
  std::string xml = "      <annotation name=\"";
  xml += name;
  xml += "\" value=\"";
  xml += value;
  xml += "\"/>\n";
  return xml;
}

std::string MethodXml(const ServerMember& m) {
  std::string xml = "    <method name=\"" + std::string(m.name) + "\">\n";
  for (const MemberParam& p : m.Params()) xml += ArgXml(p.name, TypeCode(p.type), "in");
  const std::string out = OutSignature(m);
  if (!out.empty()) xml += ArgXml("Value", out[0], "out");
  xml += AnnotationXml(kDispIdAnnotation, std::to_string(m.dispId));
  xml += AnnotationXml(kKindAnnotation, m.kind == MemberKind::PropertyGet ? "propget" : "method");
  xml += "    </method>\n";
  return xml;
}

}  // namespace

std::span<const ServerMember> IServerMembers() {
  return kMembers;
}

const ServerMember* FindMember(std::string_view name) {
  for (const ServerMember& m : kMembers) {
    if (m.name == name) return &m;
  }
  return nullptr;
}

std::string InSignature(const ServerMember& member) {
  std::string sig;
  for (const MemberParam& p : member.Params()) sig += TypeCode(p.type);
  return sig;
}

std::string OutSignature(const ServerMember& member) {
  switch (member.result) {
    case ResultType::Long:
      return "i";
    case ResultType::Variant:
      return "s";
    case ResultType::None:
      break;
  }
  return "";
}

std::string InterfaceXml() {
  std::string xml = "  <interface name=\"" + std::string(kInterfaceName) + "\">\n";
  for (const ServerMember& m : kMembers) xml += MethodXml(m);
  xml += "  </interface>\n";
  return xml;
}

std::string IntrospectionXml() {
  return "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
         " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n"
         "<node name=\"" +
         std::string(kObjectPath) + "\">\n" + InterfaceXml() + "</node>\n";
}

}  // namespace zel
