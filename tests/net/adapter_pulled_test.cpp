// A USB adapter pulled out in the middle of a read: the pty behind the
// port's path goes away, as the adapter's tty does. The read must end at
// once with its message, nothing may spin afterwards, and once the adapter
// is back (the same path, now a new tty) the port dialog opens it again.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "base/workspace.h"
#include "operations/operations.h"
#include "pty_device_host.h"
#include "support/files.h"
#include "support/workspace_fakes.h"
#include "typed_device.h"

namespace zel::testing {
namespace {

constexpr int kRecords = 40;

int64_t NowUs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec * 1'000'000LL + t.tv_nsec / 1000;
}

int64_t ProcessCpuUs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1'000'000LL + u.ru_utime.tv_usec +
         u.ru_stime.tv_usec;
}

// udev's stable names are links like this one, re-pointed at the new tty
// when the adapter comes back.
void PointAt(const std::filesystem::path& link, const std::string& tty) {
  std::filesystem::remove(link);
  std::filesystem::create_symlink(tty, link);
}

class AdapterPulled : public ::testing::Test {
 protected:
  AdapterPulled()
      : port(link, DefaultPortOpener(nullptr)),
        ws(dir.path(), prompts, progress, warning, link, port) {}

  void Start(PtyDeviceHost& host) {
    ASSERT_FALSE(host.SlavePath().empty()) << host.Problem();
    host.Attach(MakeTypedDevice("ЖРМ 3").device);
    PointAt(adapter, host.SlavePath());
    port.comPaths[0] = adapter.string();
    port.OpenAtStartup();
    ASSERT_NE(link.Port(), nullptr) << port.PortProblem();
    ActivateFirstChannel(ws, "ЖРМ 3");
    ws.range.SetStartText("1");
    ws.range.SetEndText(std::to_string(kRecords));
    prompts.Clear();
  }

  TempDir dir;
  std::filesystem::path adapter = dir.path() / "ttyUSB0";
  ScriptedPrompts prompts;
  RecordingProgress progress;
  ScriptedWarning warning;
  Link link;
  PortSetup port;
  Workspace ws;
};

TEST_F(AdapterPulled, ReadEndsWithItsMessageAndTheDialogReopensThePort) {
  auto first = std::make_unique<PtyDeviceHost>();
  Start(*first);
  int64_t pulledUs = 0;
  std::thread puller([&] {
    // A few records into the read: each asks with an address byte and a body.
    if (first->AwaitArrivals(60, 10'000)) {
      pulledUs = NowUs(CLOCK_MONOTONIC);
      first->Unplug();
    }
  });
  prompts.Answer(Answer::No);  // "read the accounting too?"
  ReadActiveBase(ws);
  const int64_t endedUs = NowUs(CLOCK_MONOTONIC);
  puller.join();
  ASSERT_NE(pulledUs, 0) << "the read never reached the device";

  // Ended within one time-out of the pull, with the family's message.
  std::printf("pulled -> message: %.1f ms\n", (endedUs - pulledUs) / 1000.0);
  EXPECT_LT(endedUs - pulledUs, 600'000);
  ASSERT_FALSE(prompts.shown().empty());
  EXPECT_TRUE(prompts.shown().back().text.starts_with("Ошибка RS-232"))
      << prompts.shown().back().text;
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_FALSE(link.PortValid());
  EXPECT_FALSE(port.PortProblem().empty());

  // Nothing of ours runs once the operation is over.
  const int64_t cpuBefore = ProcessCpuUs();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LT(ProcessCpuUs() - cpuBefore, 30'000);

  // A second try on the dead port fails at once, without waiting or spinning.
  prompts.Clear();
  const int64_t cpuStart = NowUs(CLOCK_THREAD_CPUTIME_ID);
  const int64_t wallStart = NowUs(CLOCK_MONOTONIC);
  ReadActiveBase(ws);
  EXPECT_LT(NowUs(CLOCK_MONOTONIC) - wallStart, 600'000);
  EXPECT_LT(NowUs(CLOCK_THREAD_CPUTIME_ID) - cpuStart, 100'000);
  EXPECT_FALSE(prompts.shown().empty());

  // Still gone: the dialog says so. Plugged in again: it opens, and reads.
  first.reset();
  prompts.Clear();
  EXPECT_FALSE(port.set_p(prompts));
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Порт уже используется или недоступен !"});
  PtyDeviceHost second;
  second.Attach(MakeTypedDevice("ЖРМ 3").device);
  PointAt(adapter, second.SlavePath());
  prompts.Clear();
  EXPECT_TRUE(port.set_p(prompts));
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Порт проинициализирован !"});
  prompts.Clear();
  ws.range.SetEndText("4");
  prompts.Answer(Answer::No);
  ReadActiveBase(ws);
  for (const auto& s : prompts.shown()) EXPECT_FALSE(s.text.starts_with("Ошибка")) << s.text;
  EXPECT_TRUE(link.PortValid());
}

}  // namespace
}  // namespace zel::testing
