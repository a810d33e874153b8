#include "base_round_trip.h"

#include "base/workspace.h"
#include "operations/operations.h"
#include "support/files.h"
#include "support/varied_products.h"
#include "support/workspace_fakes.h"

namespace zel::testing {
namespace {

// The last of the few rows has no barcode.
void FillRows(Workspace& ws) {
  for (int row = 1; row <= kRoundTripRecords; ++row)
    ws.table.SetRecord(row, VariedProduct(row, kRoundTripRecords));
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
  ActivateFirstChannel(ws, type);
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
