// zelbase-cli killed with SIGKILL at random moments of a read and of an
// import: every record of the base file is then its old or its new bytes,
// never a mix inside one record, and the next run loads the file. CI runs a
// few kills on a short range; ZEL_KILLS=200 ZEL_KILL_RANGE=4096 runs the
// long form and prints the same table.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <thread>

#include "base/base_record.h"
#include "cli/cli_fixture.h"
#include "common/cp1251.h"

namespace zel::testing {
namespace {

int EnvNumber(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

struct KillTally {
  int kills = 0;
  int old = 0;    ///< the file as before the run
  int fresh = 0;  ///< the file as a whole run leaves it
  int mixed = 0;  ///< some records old, some new: an import cut between lines
  int torn = 0;   ///< a record that is neither
};

class CliKill : public CliTest {
 protected:
  std::string Base() { return ReadBytes(Path("Base/Base5.bsd")); }
  void PutBase(const std::string& bytes) {
    std::ofstream(Path("Base/Base5.bsd"), std::ios::binary | std::ios::trunc) << bytes;
  }
  std::vector<std::string> Args(const std::vector<std::string>& command) {
    std::vector<std::string> all = {"--demo",
                                    "--data-dir",
                                    Folder().string(),
                                    "--channel",
                                    "5",
                                    "--range",
                                    "1-" + std::to_string(range_)};
    all.insert(all.end(), command.begin(), command.end());
    return all;
  }
  // Kills the command at random moments of its run, from the state `before`.
  KillTally Run(const std::vector<std::string>& command, const std::string& before,
                const std::string& after, std::chrono::microseconds length) {
    KillTally t;
    std::mt19937 random(12345);
    std::uniform_int_distribution<long long> moment(0, length.count() * 11 / 10);
    for (int k = 0; k < kills_; ++k) {
      PutBase(before);
      CliProcess p(Args(command));
      std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
      p.Signal(SIGKILL);
      p.Finish();
      ++t.kills;
      Classify(Base(), before, after, t);
      const CliResult next = RunCli(Args({"show"}));
      EXPECT_EQ(next.exitCode, 0) << "the next run loads the file: " << next.err;
    }
    return t;
  }
  void Classify(const std::string& now, const std::string& before, const std::string& after,
                KillTally& t) {
    if (now == before) return void(++t.old);
    if (now == after) return void(++t.fresh);
    if (now.size() != after.size()) return void(++t.torn);
    for (std::size_t r = 0; r < now.size(); r += kBaseRecordBytes) {
      const auto a = now.compare(r, kBaseRecordBytes, before, r, kBaseRecordBytes);
      const auto b = now.compare(r, kBaseRecordBytes, after, r, kBaseRecordBytes);
      if (a != 0 && b != 0) return void(++t.torn);
    }
    ++t.mixed;
  }
  static void Print(const char* what, const KillTally& t) {
    std::printf("%-8s kills %4d  old %4d  new %4d  old and new records %4d  torn %d\n", what,
                t.kills, t.old, t.fresh, t.mixed, t.torn);
  }

  int kills_ = EnvNumber("ZEL_KILLS", 12);
  int range_ = EnvNumber("ZEL_KILL_RANGE", 40);
};

TEST_F(CliKill, AKilledReadOrImportLeavesOldOrNewRecordsOnly) {
  ASSERT_EQ(RunCli(Args({"clear", "--yes"})).exitCode, 0);
  const std::string cleared = Base();
  auto t0 = std::chrono::steady_clock::now();
  ASSERT_EQ(RunCli(Args({"read"})).exitCode, 0);
  const auto readLength =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);
  const std::string read = Base();
  ASSERT_NE(read, cleared);

  std::string lines;
  for (int i = 1; i <= range_; ++i) {
    lines += "Товар " + std::to_string(i) + ";" + std::to_string(i % 9999) + ".50;" +
             std::to_string(i % 7 + 1) + ";" + std::to_string(460000000000LL + i) + ";\r\n";
  }
  const std::string file = Path("prices.txt").string();
  std::ofstream(file, std::ios::binary) << Utf8ToCp1251(lines);
  PutBase(read);
  t0 = std::chrono::steady_clock::now();
  ASSERT_EQ(RunCli(Args({"import", file})).exitCode, 0);
  const auto importLength =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);
  const std::string imported = Base();

  const KillTally reads = Run({"read"}, cleared, read, readLength);
  const KillTally imports = Run({"import", file}, read, imported, importLength);
  Print("read", reads);
  Print("import", imports);
  EXPECT_EQ(reads.torn + imports.torn, 0);
  EXPECT_EQ(reads.mixed, 0) << "a read stores its range in one step";
}

}  // namespace
}  // namespace zel::testing
