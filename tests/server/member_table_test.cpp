// The member table, the introspection XML made from it, the calls checked
// against it, and the conversion of VARIANT arguments.
#include "server/member_table.h"

#include <gtest/gtest.h>

#include <set>

#include "server/member_calls.h"
#include "server/server_codes.h"
#include "server/server_value.h"

namespace zel::testing {
namespace {

TEST(MemberTable, ThirtyFiveMembersInPositionOrderWithUniqueIds) {
  const auto members = IServerMembers();
  ASSERT_EQ(members.size(), 35u);
  std::set<int> ids;
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < members.size(); ++i) {
    EXPECT_EQ(members[i].position, static_cast<int>(i));
    ids.insert(members[i].dispId);
    names.insert(members[i].name);
  }
  EXPECT_EQ(ids.size(), 35u);
  EXPECT_EQ(*ids.begin(), 1);
  EXPECT_EQ(*ids.rbegin(), 35);
  EXPECT_EQ(names.size(), 35u);
}

TEST(MemberTable, NumberCarriesIdTwelveAtPositionNineteen) {
  const ServerMember* number = FindMember("Number");
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->position, 19);
  EXPECT_EQ(number->dispId, 12);
  EXPECT_EQ(number->kind, MemberKind::PropertyGet);
  EXPECT_EQ(FindMember("Name")->dispId, 13);
  EXPECT_EQ(FindMember("SelectBase")->dispId, 20);
  EXPECT_EQ(FindMember("TovGr")->dispId, 21);
  EXPECT_EQ(FindMember("number"), nullptr);
}

TEST(MemberTable, SignaturesFollowTheTypes) {
  struct Case {
    const char* name;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"GetBaseError", "", "i"}, {"SetRange", "ii", "i"}, {"AddTovar", "vvvv", "i"},
      {"SelectBase", "v", "i"},  {"ReadKL", "v", "i"},    {"Name", "", "s"},
      {"SlotKLCount", "", "i"},  {"Visible", "i", ""},    {"SetPrVes", "ii", "i"},
      {"BaseStatus", "", "i"},   {"KLKolvo", "", "s"},    {"SetTop", "i", "i"},
  };
  for (const auto& c : cases) {
    const ServerMember* m = FindMember(c.name);
    ASSERT_NE(m, nullptr) << c.name;
    EXPECT_EQ(InSignature(*m), c.in) << c.name;
    EXPECT_EQ(OutSignature(*m), c.out) << c.name;
  }
}

TEST(MemberTable, ParameterNamesAreTheContracts) {
  auto names = [](const char* member) {
    std::string out;
    for (const MemberParam& p : FindMember(member)->Params()) out += std::string(p.name) + " ";
    return out;
  };
  EXPECT_EQ(names("SetRange"), "Par1 Par2 ");
  EXPECT_EQ(names("AddTovar"), "Name Price Section Sh_Code ");
  EXPECT_EQ(names("SetTop"), "Par ");
  EXPECT_EQ(names("SelectBase"), "Base ");
  EXPECT_EQ(names("ReadKL"), "SlotNumber ");
  EXPECT_EQ(names("Visible"), "Par ");
  EXPECT_EQ(names("SetPrVes"), "Num PrVes ");
  EXPECT_EQ(names("SetTovGr"), "Num TovGr ");
}

TEST(MemberTable, XmlListsEveryMemberWithItsIdInOrder) {
  const std::string xml = InterfaceXml();
  std::size_t at = 0;
  for (const ServerMember& m : IServerMembers()) {
    const std::string method = "<method name=\"" + std::string(m.name) + "\">";
    const std::size_t found = xml.find(method, at);
    ASSERT_NE(found, std::string::npos) << m.name;
    const std::size_t end = xml.find("</method>", found);
    const std::string body = xml.substr(found, end - found);
    EXPECT_NE(
        body.find("<annotation name=\"Zhrm.DispId\" value=\"" + std::to_string(m.dispId) + "\"/>"),
        std::string::npos)
        << m.name;
    at = end;
  }
  EXPECT_NE(xml.find("<interface name=\"Zhrm.IServer\">"), std::string::npos);
  EXPECT_EQ(xml.find("IServerEvents"), std::string::npos);
}

TEST(MemberTable, XmlArgumentsOfAddTovarAndVisible) {
  const std::string xml = InterfaceXml();
  EXPECT_NE(xml.find("<method name=\"AddTovar\">\n"
                     "      <arg name=\"Name\" type=\"v\" direction=\"in\"/>\n"
                     "      <arg name=\"Price\" type=\"v\" direction=\"in\"/>\n"
                     "      <arg name=\"Section\" type=\"v\" direction=\"in\"/>\n"
                     "      <arg name=\"Sh_Code\" type=\"v\" direction=\"in\"/>\n"
                     "      <arg name=\"Value\" type=\"i\" direction=\"out\"/>\n"),
            std::string::npos);
  EXPECT_NE(xml.find("<method name=\"Visible\">\n"
                     "      <arg name=\"Par\" type=\"i\" direction=\"in\"/>\n"
                     "      <annotation"),
            std::string::npos);
  EXPECT_NE(xml.find("<method name=\"Number\">\n"
                     "      <arg name=\"Value\" type=\"s\" direction=\"out\"/>\n"
                     "      <annotation name=\"Zhrm.DispId\" value=\"12\"/>\n"
                     "      <annotation name=\"Zhrm.Kind\" value=\"propget\"/>\n"),
            std::string::npos);
}

TEST(MemberTable, DocumentWrapsTheInterfaceInTheObjectNode) {
  const std::string doc = IntrospectionXml();
  EXPECT_EQ(doc.rfind("<!DOCTYPE node", 0), 0u);
  EXPECT_NE(doc.find("<node name=\"/Server\">\n" + InterfaceXml() + "</node>\n"),
            std::string::npos);
}

TEST(MemberCalls, MatchTheMemberTable) {
  EXPECT_EQ(CheckMemberCalls(), "");
  for (const ServerMember& m : IServerMembers()) {
    const MemberCall* call = FindMemberCall(m.name);
    ASSERT_NE(call, nullptr) << m.name;
    EXPECT_EQ(call->result, m.result) << m.name;
  }
}

TEST(ServerValue, TextAndIntegerForms) {
  EXPECT_EQ(ServerValue(int64_t{-42}).Text(), "-42");
  EXPECT_EQ(ServerValue("ХЛЕБ").Text(), "ХЛЕБ");
  EXPECT_EQ(ServerValue(int64_t{7}).Integer("Base"), 7);
  EXPECT_EQ(ServerValue(" 16 ").Integer("Base"), 16);
  EXPECT_EQ(ServerValue("+3").Integer("Base"), 3);
  EXPECT_EQ(ServerValue("-3").Integer("Base"), -3);
}

TEST(ServerValue, TextThatIsNoIntegerFailsNamingTheParameter) {
  for (const char* text : {"", "abc", "1.5", "3x", "+-3", "99999999999999999999"}) {
    try {
      ServerValue(text).Integer("SlotNumber");
      ADD_FAILURE() << text;
    } catch (const ServerFailure& e) {
      EXPECT_NE(std::string(e.what()).find("SlotNumber"), std::string::npos) << text;
    }
  }
}

TEST(ServerCodes, MessagesOfTheCodes) {
  EXPECT_EQ(ServerMessage(kCodeOk), "O.K.");
  EXPECT_EQ(ServerMessage(kCodeBusy), "Сервер недоступен (не завершен обмен по RS)");
  EXPECT_EQ(ServerMessage(kCodeLinkFailure), "Сбой последовательного интерфейса");
  EXPECT_EQ(ServerMessage(kCodeBadRemoteBase), "Неверное значение удаленной базы");
  EXPECT_EQ(ServerMessage(kCodeNoSuchSlot), "Несуществующий слот КЛ");
  EXPECT_EQ(ServerMessage(kCodeNumberOutsideBase), "");
  EXPECT_EQ(ServerMessage(-1), "");
  EXPECT_EQ(ImportMessages[2], "Неверный отдел");
}

}  // namespace
}  // namespace zel::testing
