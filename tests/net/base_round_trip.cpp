#include "base_round_trip.h"

#include "base/active_device.h"
#include "base/base_test_support.h"
#include "base/workspace.h"
#include "operations/operations.h"
#include "support/varied_products.h"

namespace zel::testing {
namespace {

void Activate(Workspace& ws, const std::string& type) {
  DeviceChannel& c = ws.channels.Channel(1);
  c.deviceType = type;
  c.zhrmNumber = "0001";
  c.kkmNumber = "00000001";
  ws.channels.activeChannel = 1;
  SelectZhrm(ws);
}

// The last of the few rows has no barcode.
void FillRows(Workspace& ws) {
  for (int row = 1; row <= kRoundTripRecords; ++row)
    ws.table.SetRecord(row, VariedProduct(row, kRoundTripRecords));
}

std::string RowText(Workspace& ws, int row) {
  std::string out;
  for (int col = kColName; col <= kCol7; ++col) out += ws.table.Cell(row, col) + "|";
  return out;
}

}  // namespace

RoundTrip WriteThenRead(const std::string& type, PortOpener opener, const std::string& path,
                        const std::function<std::vector<std::string>()>& records) {
  TempDir dir;
  ScriptedPrompts prompts;
  RecordingProgress progress;
  ScriptedWarning warning;
  Link link;
  PortSetup port(link, std::move(opener));
  port.comPaths[0] = path;
  Workspace ws(dir.path(), prompts, progress, warning, link, port);
  port.OpenAtStartup();
  RoundTrip out;
  out.portOpened = link.Port() != nullptr;
  Activate(ws, type);
  FillRows(ws);
  ws.range.SetStartText("1");
  ws.range.SetEndText(std::to_string(kRoundTripRecords));
  ws.options.blockKkm = true;
  prompts.Clear();

  prompts.Answer(Answer::Yes);  // "write the base?"
  WriteActiveBase(ws);
  out.records = records();
  for (int row = 1; row <= kRoundTripRecords; ++row) ws.table.SetCell(row, kColName, "OLD");
  prompts.Answer(Answer::No);  // "read the accounting too?"
  ReadActiveBase(ws);

  for (int row = 1; row <= kRoundTripRecords; ++row) out.rows.push_back(RowText(ws, row));
  for (const auto& s : prompts.shown()) out.shown.push_back(s.kind + ": " + s.text);
  out.portProblem = port.PortProblem();
  out.baseFile = ReadBytes(dir.path() / "Base" / ws.device.baseFileName);
  return out;
}

}  // namespace zel::testing
