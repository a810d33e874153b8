// How each member of the table is made on `TServer`: the bus adapter looks
// calls up here by name, and CheckMemberCalls ties this list to the member
// table, so the exported interface and the calls it reaches cannot drift.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "server/member_table.h"
#include "server/server_value.h"
#include "server/tserver.h"

namespace zel {

/// One argument: a long, or a VARIANT.
using MemberArg = std::variant<int, ServerValue>;

/// The arguments of one call, in the member's order and types.
class MemberArgs {
 public:
  explicit MemberArgs(std::vector<MemberArg> args) : args_(std::move(args)) {}
  int Long(std::size_t i) const { return std::get<int>(args_.at(i)); }
  const ServerValue& Value(std::size_t i) const { return std::get<ServerValue>(args_.at(i)); }

 private:
  std::vector<MemberArg> args_;
};

/// What a member returns: nothing, a long, or a VARIANT as text.
using MemberResult = std::variant<std::monostate, int, std::string>;

struct MemberCall {
  std::string_view name;
  ResultType result;
  MemberResult (*call)(TServer& server, const MemberArgs& args);
};

/// The calls in member order.
std::span<const MemberCall> MemberCalls();

/// The call of that member; null when there is none.
const MemberCall* FindMemberCall(std::string_view name);

/// Empty when the calls match the member table name for name, in order,
/// with the same result kind; otherwise the first difference.
std::string CheckMemberCalls();

}  // namespace zel
