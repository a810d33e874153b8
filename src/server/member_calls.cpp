#include "server/member_calls.h"

#include <array>

namespace zel {
namespace {

constexpr ResultType kLong = ResultType::Long;
constexpr ResultType kText = ResultType::Variant;

using A = const MemberArgs&;

const std::array<MemberCall, 35> kCalls = {{
    {"GetBaseError", kLong, [](TServer& s, A) -> MemberResult { return s.GetBaseError(); }},
    {"SetRange", kLong,
     [](TServer& s, A a) -> MemberResult { return s.SetRange(a.Long(0), a.Long(1)); }},
    {"WriteBase", kLong, [](TServer& s, A) -> MemberResult { return s.WriteBase(); }},
    {"ReadBase", kLong, [](TServer& s, A) -> MemberResult { return s.ReadBase(); }},
    {"BaseStatus", kLong, [](TServer& s, A) -> MemberResult { return s.BaseStatus(); }},
    {"ReadUchet", kLong, [](TServer& s, A) -> MemberResult { return s.ReadUchet(); }},
    {"ClearUchet", kLong, [](TServer& s, A) -> MemberResult { return s.ClearUchet(); }},
    {"AddTovar", kLong,
     [](TServer& s, A a) -> MemberResult {
       return s.AddTovar(a.Value(0), a.Value(1), a.Value(2), a.Value(3));
     }},
    {"GetNext", kLong, [](TServer& s, A) -> MemberResult { return s.GetNext(); }},
    {"SetTop", kLong, [](TServer& s, A a) -> MemberResult { return s.SetTop(a.Long(0)); }},
    {"GetNextTovar", kLong, [](TServer& s, A) -> MemberResult { return s.GetNextTovar(); }},
    {"Name", kText, [](TServer& s, A) -> MemberResult { return s.Name(); }},
    {"Price", kText, [](TServer& s, A) -> MemberResult { return s.Price(); }},
    {"Section", kText, [](TServer& s, A) -> MemberResult { return s.Section(); }},
    {"Sh_Code", kText, [](TServer& s, A) -> MemberResult { return s.Sh_Code(); }},
    {"Uchet", kText, [](TServer& s, A) -> MemberResult { return s.Uchet(); }},
    {"SavePos", kLong, [](TServer& s, A) -> MemberResult { return s.SavePos(); }},
    {"ClearTable", kLong, [](TServer& s, A) -> MemberResult { return s.ClearTable(); }},
    {"SelectBase", kLong, [](TServer& s, A a) -> MemberResult { return s.SelectBase(a.Value(0)); }},
    {"Number", kText, [](TServer& s, A) -> MemberResult { return s.Number(); }},
    {"TovGr", kText, [](TServer& s, A) -> MemberResult { return s.TovGr(); }},
    {"ReadBlockKL", kLong, [](TServer& s, A) -> MemberResult { return s.ReadBlockKL(); }},
    {"ReadKL", kLong, [](TServer& s, A a) -> MemberResult { return s.ReadKL(a.Value(0)); }},
    {"GetNextBlockKL", kLong, [](TServer& s, A) -> MemberResult { return s.GetNextBlockKL(); }},
    {"KLNumber", kText, [](TServer& s, A) -> MemberResult { return s.KLNumber(); }},
    {"KLDate", kText, [](TServer& s, A) -> MemberResult { return s.KLDate(); }},
    {"KLKolvo", kText, [](TServer& s, A) -> MemberResult { return s.KLKolvo(); }},
    {"SetTopBlockKL", kLong, [](TServer& s, A) -> MemberResult { return s.SetTopBlockKL(); }},
    {"SlotKLCount", kLong, [](TServer& s, A) -> MemberResult { return s.SlotKLCount(); }},
    {"GetNextTovarKL", kLong, [](TServer& s, A) -> MemberResult { return s.GetNextTovarKL(); }},
    {"SetTopTovarKL", kLong, [](TServer& s, A) -> MemberResult { return s.SetTopTovarKL(); }},
    {"Visible", ResultType::None,
     [](TServer& s, A a) -> MemberResult {
       s.Visible(a.Long(0));
       return std::monostate{};
     }},
    {"PrVes", kText, [](TServer& s, A) -> MemberResult { return s.PrVes(); }},
    {"SetPrVes", kLong,
     [](TServer& s, A a) -> MemberResult { return s.SetPrVes(a.Long(0), a.Long(1)); }},
    {"SetTovGr", kLong,
     [](TServer& s, A a) -> MemberResult { return s.SetTovGr(a.Long(0), a.Long(1)); }},
}};

}  // namespace

std::span<const MemberCall> MemberCalls() {
  return kCalls;
}

const MemberCall* FindMemberCall(std::string_view name) {
  for (const MemberCall& c : kCalls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::string CheckMemberCalls() {
  const std::span<const ServerMember> members = IServerMembers();
  if (members.size() != kCalls.size()) return "the member table and the calls differ in size";
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (members[i].name != kCalls[i].name) {
      return "position " + std::to_string(i) + ": member " + std::string(members[i].name) +
             ", call " + std::string(kCalls[i].name);
    }
    if (members[i].result != kCalls[i].result) {
      return "member " + std::string(members[i].name) + ": the call returns another kind";
    }
  }
  return {};
}

}  // namespace zel
