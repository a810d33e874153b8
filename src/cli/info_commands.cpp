// channels, show, last-barcode.
#include <vector>

#include "base/base_ops.h"
#include "base/range.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/text_columns.h"
#include "operations/barcode_entry.h"

namespace zel::cli {
namespace {

// Polls before a single lookup gives up: each failed poll waits for its
// answer, so together they cover a second or more.
constexpr int kSinglePolls = 10;
// Pause between polls while watching, so an idle line costs no CPU.
constexpr int kWatchPauseMs = 20;

std::string BarcodeLine(const BarcodeEntry& entry) {
  return entry.view.code + "  " + entry.view.result;
}

// A port that was open and is no longer: the device hung up (adapter
// pulled, cable cut). Said once; nothing more can come from it.
bool PortGone(Session& s, bool wasOpen) {
  if (s.link.PortValid()) return false;
  if (wasOpen) {
    const std::string problem = s.port.PortProblem();
    s.console.Note("zelbase-cli: port " + s.port.CurrentPath() + " has gone" +
                   (problem.empty() ? "" : ": " + problem));
  }
  return true;
}

int OneBarcode(Session& s, BarcodeEntry& entry) {
  const bool wasOpen = s.link.PortValid();
  for (int i = 0; i < kSinglePolls && !InterruptRequested(); ++i) {
    const BarcodePoll poll = entry.Poll(s.ws);
    if (poll == BarcodePoll::Shown) {
      s.console.Out(BarcodeLine(entry));
      return kExitOk;
    }
    if (poll == BarcodePoll::NoBarcode) {
      s.console.Note("zelbase-cli: no barcode has been scanned at the device");
      return kExitOk;
    }
    if (PortGone(s, wasOpen)) return kExitFailure;
  }
  s.console.Note("zelbase-cli: no valid barcode answer from the device");
  return kExitFailure;
}

// Prints each new barcode; an answer without one changes nothing.
int WatchBarcodes(Session& s, BarcodeEntry& entry) {
  const bool wasOpen = s.link.PortValid();
  std::string last;
  while (!InterruptRequested()) {
    const BarcodePoll poll = entry.Poll(s.ws);
    if (poll == BarcodePoll::Shown && entry.view.code != last) {
      s.console.Out(BarcodeLine(entry));
      last = entry.view.code;
    }
    if (poll == BarcodePoll::NoAnswer && PortGone(s, wasOpen)) return kExitFailure;
    s.link.LinkDelay(kWatchPauseMs);
  }
  return kExitOk;
}

}  // namespace

int RunChannels(Session& s) {
  std::vector<TextRow> rows = {{"Канал", "Тип прибора", "ЖРМ №", "ККМ №", "Подключен", "Активный"}};
  for (int n = 1; n <= kChannelCount; ++n) {
    const DeviceChannel& ch = s.ws.channels.Channel(n);
    rows.push_back({std::to_string(n), ch.deviceType, ch.zhrmNumber, ch.kkmNumber,
                    ch.disconnected ? "нет" : "да", ch.activeMark ? "да" : "нет"});
  }
  PrintRows(s.console, rows);
  return kExitOk;
}

int RunShow(Session& s) {
  Workspace& ws = s.ws;
  if (!CheckBaseRange(ws.range, ws.device.typeText, ws.prompts)) return kExitUsage;
  const OperationWatch watch(s);
  if (!ShowCheckedRange(ws)) return watch.ExitCode(false);
  std::vector<TextRow> rows(1);
  for (int c = 0; c < ws.table.ColumnCount(); ++c) rows[0].push_back(Heading(ws.table.Cell(0, c)));
  const int count = ws.range.LastRecord - ws.range.CurrentRecord + 1;
  for (int r = 1; r <= count; ++r) {
    TextRow row;
    for (int c = 0; c < ws.table.ColumnCount(); ++c) row.push_back(ws.table.Cell(r, c));
    rows.push_back(std::move(row));
  }
  PrintRows(s.console, rows);
  return watch.ExitCode();
}

int RunLastBarcode(Session& s, const CliArgs& args) {
  if (!CheckDevice(s)) return kExitUsage;
  BarcodeEntry entry;
  entry.Request(s.ws);
  if (!entry.TakeShowRequest()) return kExitUsage;
  return args.watch ? WatchBarcodes(s, entry) : OneBarcode(s, entry);
}

}  // namespace zel::cli
