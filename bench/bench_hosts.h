// The seams a benchmark gives an operation: prompts that answer Yes and print
// what they show, a progress host that measures the longest gap between two
// event batches (what the window would see), and no disconnect warning.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/active_device.h"
#include "base/channels.h"
#include "base/run_state.h"
#include "base/workspace.h"
#include "common/prompts.h"
#include "link/clock.h"

namespace zel::bench {

inline double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class YesPrompts final : public Prompts {
 public:
  void Message(const std::string& t) override { std::fprintf(stderr, "%s\n", t.c_str()); }
  void Information(const std::string& t) override { Message(t); }
  void Warning(const std::string& t) override { Message(t); }
  void Error(const std::string& t) override { Message(t); }
  bool AskYesNo(const std::string&) override { return true; }
  Answer AskYesNoCancel(const std::string&) override { return Answer::No; }
};

class GapMeter final : public ProgressHost {
 public:
  explicit GapMeter(Clock& clock) : clock_(clock) {}
  void ShowProgress(const std::string&, int, bool) override { last_ = clock_.NowUs(); }
  void AdvanceProgress() override {}
  void HideProgress() override {}
  void ProcessEvents() override {
    const int64_t now = clock_.NowUs();
    if (last_ > 0) longestUs = std::max(longestUs, now - last_);
    last_ = now;
  }
  int64_t longestUs = 0;

 private:
  Clock& clock_;
  int64_t last_ = 0;
};

class NoWarning final : public DisconnectWarning {
 public:
  Answer Ask() override { return {}; }
};

/// Channel 1 of `type` active, range 1..records, the table full of products.
inline void ActivateWithProducts(Workspace& ws, const std::string& type, int records) {
  ws.channels.Channel(1).deviceType = type;
  ws.channels.Channel(1).zhrmNumber = "0001";
  ws.channels.Channel(1).kkmNumber = "00000001";
  SelectZhrm(ws);
  ws.range.SetStartText("1");
  ws.range.SetEndText(std::to_string(records));
  for (int row = 1; row <= records; ++row) {
    ws.table.SetRecord(row, {"ТОВАР " + std::to_string(row), "12.50", "1",
                             "4600000" + std::to_string(10000 + row), "", "0", "0"});
  }
}

}  // namespace zel::bench
