// The automation contract as data: the 35 members of `IServer` in their
// order, with member ids, kinds, parameters and results. The introspection
// XML (the type library of the bus) is generated from this table, and the
// bus adapter is checked against it.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace zel {

inline constexpr std::string_view kServiceName = "Zhrm.Server";
inline constexpr std::string_view kObjectPath = "/Server";
inline constexpr std::string_view kInterfaceName = "Zhrm.IServer";
/// Error name of a member that failed unexpectedly.
inline constexpr std::string_view kFailedErrorName = "Zhrm.Error.Failed";
/// Annotation carrying each member's id.
inline constexpr std::string_view kDispIdAnnotation = "Zhrm.DispId";
/// Annotation naming a property get ("propget") or a method ("method").
inline constexpr std::string_view kKindAnnotation = "Zhrm.Kind";

/// long travels as `i`, a VARIANT parameter as `v`.
enum class ParamType { Long, Variant };
enum class MemberKind { Method, PropertyGet };
/// long comes back as `i`, a VARIANT result as `s`; `None` has no out arg.
enum class ResultType { None, Long, Variant };

struct MemberParam {
  std::string_view name;
  ParamType type;
};

struct ServerMember {
  int position;  ///< order in the interface, from 0
  int dispId;    ///< member id; not in position order
  std::string_view name;
  MemberKind kind;
  std::array<MemberParam, 4> params;
  int paramCount;
  ResultType result;

  std::span<const MemberParam> Params() const {
    return std::span(params).first(static_cast<std::size_t>(paramCount));
  }
};

/// The 35 members in position order.
std::span<const ServerMember> IServerMembers();

/// The member of that exact name; null when there is none.
const ServerMember* FindMember(std::string_view name);

/// D-Bus signature of the in arguments ("ii", "vvvv", "").
std::string InSignature(const ServerMember& member);
/// D-Bus signature of the result ("i", "s", "").
std::string OutSignature(const ServerMember& member);

/// The `<interface>` element of `Zhrm.IServer`.
std::string InterfaceXml();
/// The whole introspection document: doctype, `<node>`, the interface.
std::string IntrospectionXml();

}  // namespace zel
