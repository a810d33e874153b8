// One fault, once, at every byte position of every exchange of every device
// operation and type: the operation either recovers (its result equals a
// clean run's) or ends with its message, leaving every record old or new,
// the base file intact and the window idle. Registers left locked and
// listings cut short unnoticed are counted and printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "device_operations.h"
#include "server/server_codes.h"
#include "server_side.h"

namespace zel::testing {
namespace {

// Short: a listing that ended early without a message (a known weakness,
// counted and shown).
enum class Outcome { Recovered, Reported, Short, Wrong };

struct Tally {
  int recovered = 0;
  int reported = 0;
  int wrong = 0;
  int shortened = 0;
  int lockHeld = 0;
};

/// What a clean run of one operation on one type produced.
struct Reference {
  std::vector<std::string> before, after;
  std::string baseBefore, baseAfter;
  std::size_t replyBytes = 0, requestBytes = 0;
};

Reference CleanRun(const std::string& type, const DeviceOperation& op) {
  OperationRun r(type);
  op.prepare(r);
  Reference ref;
  ref.before = op.observe(r);
  ref.baseBefore = r.rig.BaseBytes();
  r.rig.Port().Arm({});
  op.run(r);
  ref.after = op.observe(r);
  ref.baseAfter = r.rig.BaseBytes();
  ref.replyBytes = r.rig.Port().RepliesCounted();
  ref.requestBytes = r.rig.Port().RequestsCounted();
  EXPECT_TRUE(r.rig.Messages().empty()) << type << " " << op.name;
  EXPECT_EQ(r.serverCode, 0) << type << " " << op.name;
  EXPECT_NE(ref.before, ref.after) << type << " " << op.name << ": a clean run changes nothing";
  return ref;
}

bool EachOldOrNew(const std::vector<std::string>& got, const Reference& ref) {
  // A listing that stops keeps what it listed: a prefix of the new rows.
  if (got.size() > std::max(ref.after.size(), ref.before.size())) return false;
  for (std::size_t i = 0; i < got.size(); ++i) {
    const bool old = i < ref.before.size() && got[i] == ref.before[i];
    const bool now = i < ref.after.size() && got[i] == ref.after[i];
    if (!old && !now) return false;
  }
  return true;
}

// The state every run must end in, whatever happened on the line. A lock
// or release frame whose answer is lost can leave the register locked;
// those runs are counted and shown, not hidden.
void ExpectSettled(OperationRun& r, const std::string& where, Tally& t) {
  Workspace& ws = r.rig.Ws();
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle) << where;
  EXPECT_TRUE(ws.controls.toolbarEnabled) << where;
  EXPECT_TRUE(ws.controls.menusEnabled) << where;
  if (r.server) {
    EXPECT_FALSE(r.server->server.Context().stepper.Running()) << where;
    EXPECT_EQ(r.server->server.BaseStatus(), 2) << where;
  }
  if (r.rig.Device().locked()) ++t.lockHeld;
}

bool IsShortenedListing(const std::vector<std::string>& got, const Reference& ref) {
  return got.size() < ref.after.size() && std::equal(got.begin(), got.end(), ref.after.begin());
}

// Whether the run failed, judged the way its caller would see it; false
// when the sign itself is wrong (a message from the server, another code).
bool Failed(OperationRun& r, const DeviceOperation& op, bool& signSound) {
  const auto messages = r.rig.Messages();
  signSound = true;
  switch (op.failure) {
    case FailureSign::Message:
      for (const auto& m : messages) signSound = signSound && IsExchangeFailureMessage(m);
      return !messages.empty();
    case FailureSign::PollResult:
      signSound = messages.empty();
      return !r.pollAnswered;
    case FailureSign::ServerCode:
      signSound = messages.empty() && (r.serverCode == 0 || r.serverCode == kCodeLinkFailure);
      return r.serverCode != 0;
  }
  return true;
}

Outcome Classify(OperationRun& r, const DeviceOperation& op, const Reference& ref) {
  const auto got = op.observe(r);
  const std::string base = r.rig.BaseBytes();
  bool signSound = true;
  const bool failed = Failed(r, op, signSound);
  if (!signSound) return Outcome::Wrong;
  if (!failed && IsShortenedListing(got, ref)) return Outcome::Short;
  if (!failed)
    return got == ref.after && base == ref.baseAfter ? Outcome::Recovered : Outcome::Wrong;
  if (op.failure == FailureSign::PollResult && got != ref.before) return Outcome::Wrong;
  if (!EachOldOrNew(got, ref)) return Outcome::Wrong;
  if (base != ref.baseBefore && (op.failureKeepsFile || base != ref.baseAfter))
    return Outcome::Wrong;
  return Outcome::Reported;
}

void Count(Tally& t, Outcome o) {
  (o == Outcome::Recovered  ? t.recovered
   : o == Outcome::Reported ? t.reported
   : o == Outcome::Short    ? t.shortened
                            : t.wrong)++;
}

void RunFaulted(const std::string& type, const DeviceOperation& op, const Reference& ref,
                const FaultPlan& plan, Tally& t) {
  OperationRun r(type);
  op.prepare(r);
  r.rig.Prompts().Clear();
  r.rig.Port().Arm(plan);
  op.run(r);
  const std::string where = type + " " + op.name + " " +
                            (plan.side == FaultSide::Reply ? "reply " : "request ") +
                            FaultName(plan.kind) + " @" + std::to_string(plan.position);
  EXPECT_TRUE(r.rig.Port().Fired()) << where;
  ExpectSettled(r, where, t);
  const Outcome o = Classify(r, op, ref);
  EXPECT_NE(o, Outcome::Wrong) << where << ": a spoilt byte changed the result unnoticed\n"
                               << ::testing::PrintToString(op.observe(r))
                               << "\nclean: " << ::testing::PrintToString(ref.after)
                               << "\nmessages: " << ::testing::PrintToString(r.rig.Messages())
                               << " server code: " << r.serverCode;
  Count(t, o);
}

// Under the sanitizers a run costs some forty times more; every sixteenth
// position keeps the suite within minutes there.
#ifdef ZEL_SPARSE_FAULT_SWEEP
constexpr std::size_t kFirstStep = 16;
#else
constexpr std::size_t kFirstStep = 1;
#endif

/// Every position of the first exchanges, then a stride, so a long
/// operation stays quick.
std::vector<std::size_t> Positions(std::size_t bytes) {
  std::vector<std::size_t> out;
  const std::size_t stride = bytes <= 48 ? kFirstStep : bytes / 16;
  for (std::size_t p = 0; p < bytes; p += p < 32 ? kFirstStep : stride) out.push_back(p);
  return out;
}

// Padded to `width` letters: the names are UTF-8 and printf counts bytes.
std::string Padded(std::string text, std::size_t width) {
  std::size_t letters = 0;
  for (unsigned char c : text) letters += (c & 0xC0) != 0x80;
  if (letters < width) text.append(width - letters, ' ');
  return text;
}

void PrintRows(const std::map<std::string, Tally>& rows) {
  Tally total;
  std::printf("\n%-28s %9s %9s %9s %9s %9s\n", "type / operation", "recovered", "reported", "short",
              "wrong", "locked");
  for (const auto& [key, t] : rows) {
    std::printf("%s %9d %9d %9d %9d %9d\n", Padded(key, 28).c_str(), t.recovered, t.reported,
                t.shortened, t.wrong, t.lockHeld);
    total.recovered += t.recovered, total.reported += t.reported, total.wrong += t.wrong;
    total.shortened += t.shortened, total.lockHeld += t.lockHeld;
  }
  std::printf(
      "scenarios: %d, faults survived: %d (recovered %d, reported %d), listings cut short "
      "unnoticed: %d, wrong: %d, register left locked: %d\n\n",
      total.recovered + total.reported + total.shortened + total.wrong,
      total.recovered + total.reported, total.recovered, total.reported, total.shortened,
      total.wrong, total.lockHeld);
}

/// Every row of this run, printed once all the sweeps have run.
std::map<std::string, Tally>& AllRows() {
  static std::map<std::string, Tally> rows;
  return rows;
}

class TablePrinter final : public ::testing::Environment {
 public:
  void TearDown() override {
    if (AllRows().size() > 1) PrintRows(AllRows());
  }
};
const auto* const kTablePrinter = ::testing::AddGlobalTestEnvironment(new TablePrinter);

/// One operation on one device type, where the type has it.
struct SweepCase {
  std::string type;
  std::size_t op;
};

void PrintTo(const SweepCase& c, std::ostream* os) {
  *os << c.type << " " << DeviceOperations()[c.op].name;
}

std::vector<SweepCase> SweepCases() {
  std::vector<SweepCase> cases;
  for (const std::string& type : AllTypes()) {
    for (std::size_t i = 0; i < DeviceOperations().size(); ++i) {
      OperationRun probe(type);
      if (DeviceOperations()[i].supports(probe)) cases.push_back({type, i});
    }
  }
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<SweepCase>& info) {
  std::size_t type = 0;
  while (AllTypes()[type] != info.param.type) ++type;
  std::string op = DeviceOperations()[info.param.op].name;
  std::replace(op.begin(), op.end(), ' ', '_');
  return "Type" + std::to_string(type) + "_" + op;
}

class FaultInjection : public ::testing::TestWithParam<SweepCase> {};

TEST_P(FaultInjection, EverySpoiltByteIsRecoveredOrReported) {
  const FaultKind kinds[] = {FaultKind::Flip, FaultKind::Drop, FaultKind::Duplicate,
                             FaultKind::Truncate, FaultKind::Delay};
  const std::string& type = GetParam().type;
  const DeviceOperation& op = DeviceOperations()[GetParam().op];
  const Reference ref = CleanRun(type, op);
  Tally& t = AllRows()[type + " " + op.name];
  for (FaultKind k : kinds) {
    for (std::size_t p : Positions(ref.replyBytes))
      RunFaulted(type, op, ref, {FaultSide::Reply, k, p}, t);
    for (std::size_t p : Positions(ref.requestBytes))
      RunFaulted(type, op, ref, {FaultSide::Request, k, p}, t);
  }
  PrintRows({{type + " " + op.name, t}});
}

INSTANTIATE_TEST_SUITE_P(EveryTypeAndOperation, FaultInjection, ::testing::ValuesIn(SweepCases()),
                         CaseName);

}  // namespace
}  // namespace zel::testing
