// A workspace on a temporary folder whose port is the simulated line on the
// virtual clock, with virtual devices of every family to attach.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/active_device.h"
#include "base/base_ops.h"
#include "base/workspace.h"
#include "sim/register_device.h"
#include "sim/simulated_line.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"
#include "support/files.h"
#include "support/varied_products.h"
#include "support/workspace_fakes.h"

namespace zel::testing {

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest()
      : line(std::make_shared<SimulatedLine>(clock)),
        port(link, [this](const std::string&) -> std::shared_ptr<BytePort> { return line; }),
        ws(dir.path(), prompts, progress, warning, link, port) {
    port.OpenAtStartup();
  }

  /// Makes channel 1 of `type` active with ЖРМ number 0001 and ККМ 00000001.
  void Activate(const std::string& type) {
    ActivateFirstChannel(ws, type);
    prompts.Clear();
    progress.calls.clear();
    progress.advances = 0;
  }

  /// Types the range and, when the type can hold it, confirms it as the
  /// operator would (the table then shows it); the load leaves no trace in
  /// the progress record.
  void SetRange(const std::string& first, const std::string& last) {
    ws.range.SetStartText(first);
    ws.range.SetEndText(last);
    const auto a = ParseRecordNumber(first);
    const auto b = ParseRecordNumber(last);
    if (!a || !b || *a < 1 || *b < *a || *b > ws.device.capacity) return;
    ASSERT_TRUE(ConfirmRange(ws));
    progress.calls.clear();
    progress.advances = 0;
  }

  template <typename Device, typename... Args>
  std::shared_ptr<Device> Attach(Args&&... args) {
    auto d = std::make_shared<Device>(std::forward<Args>(args)...);
    line->Attach(d);
    return d;
  }

  /// A `model` terminal whose tapes are: 17 (one purchase), 18 (two, one of
  /// them a return of record 5), and the current one (one purchase).
  std::shared_ptr<Zhrm3Device> AttachWithTapes(Zhrm3FamilyModel model) {
    auto device = Attach<Zhrm3Device>(model, 0x0001);
    auto& t = device->Tapes();
    t.AddPurchase(false, 0, 1500);
    t.CloseCurrent(17, 5, 12, 0);
    t.AddPurchase(false, 2, 250);
    t.AddPurchase(true, 5, 1000);
    t.CloseCurrent(18, 6, 12, 0);
    t.AddPurchase(false, 1, 3000);
    return device;
  }

  /// Fills rows 1..n with varied products that every type can hold.
  void FillRows(int n) {
    for (int row = 1; row <= n; ++row) ws.table.SetRecord(row, VariedProduct(row));
  }

  /// Master bytes with the parity they were sent with, as "12m 03s ..." text.
  std::string SentText() const {
    std::string out;
    char buf[8];
    for (const auto& s : line->Sent()) {
      std::snprintf(buf, sizeof buf, "%02X%c ", s.value,
                    s.parity == Parity::Mark    ? 'm'
                    : s.parity == Parity::Space ? 's'
                                                : 'n');
      out += buf;
    }
    return out;
  }

  std::string BaseBytes(int channel = 1) const { return ReadBytes(BasePath(channel)); }
  std::filesystem::path BasePath(int channel) const {
    return dir.path() / "Base" / ("Base" + std::to_string(channel) + ".bsd");
  }

  TempDir dir;
  VirtualClock clock;
  std::shared_ptr<SimulatedLine> line;
  ScriptedPrompts prompts;
  RecordingProgress progress;
  ScriptedWarning warning;
  Link link;
  PortSetup port;
  Workspace ws;
};

}  // namespace zel::testing
