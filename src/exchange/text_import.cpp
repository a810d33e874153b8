#include "exchange/text_import.h"

#include <exception>
#include <fstream>

#include "base/base_ops.h"
#include "common/cp1251.h"
#include "exchange/import_line.h"
#include "exchange/line_reader.h"

namespace zel {
namespace {

// Holds the main window disabled and the automation server off the table
// and the base file until the import is over, however it ends.
class ImportRunning {
 public:
  ImportRunning(ImportHost& host, RunState& run)
      : host_(host), run_(run), saved_(run.exchangeState) {
    host_.SetMainWindowEnabled(false);
    run_.exchangeState = ExchangeState::Busy;
  }
  ~ImportRunning() {
    run_.exchangeState = saved_;
    host_.SetMainWindowEnabled(true);
  }
  ImportRunning(const ImportRunning&) = delete;
  ImportRunning& operator=(const ImportRunning&) = delete;

 private:
  ImportHost& host_;
  RunState& run_;
  ExchangeState saved_;
};

enum class LineStep { Next, End, Fail };

struct ImportContext {
  Workspace& ws;
  ImportHost& host;
  int first;  // slot of table row 1
  int last;   // last slot of the range
  TextImportResult& result;
};

std::string ReadSample(std::istream& in) {
  std::string sample(kEncodingSampleBytes, '\0');
  in.read(sample.data(), static_cast<std::streamsize>(sample.size()));
  sample.resize(static_cast<std::size_t>(in.gcount()));
  in.clear();
  in.seekg(0);
  return sample;
}

bool StoreLine(Workspace& ws, int row, const ImportLine& line) {
  ws.table.SetCell(row, kColName, line.name);
  ws.table.SetCell(row, kColPrice, line.price);
  ws.table.SetCell(row, kColSection, line.section);
  ws.table.SetCell(row, kColBarcode, line.barcode);
  ws.table.CurrentProductRow = row;
  return WriteTovar(ws);
}

LineStep TakeLine(ImportContext& c, std::string_view raw) {
  const ImportLine line = ParseImportLine(raw);
  const std::string shown = Cp1251ToUtf8(raw);
  if (!line.Accepted()) {
    ++c.result.errors;
    c.host.AddReportLine("?   " + shown + "  Ошибка - " + line.error, true);
    return LineStep::Next;
  }
  const int slot = c.first + c.result.accepted;
  if (slot > c.last) {
    c.host.AddReportLine("Достигнут конец таблицы", true);
    c.result.reachedEnd = true;
    return LineStep::End;
  }
  // Stored before it is reported, so no line reads "Ok." unless it is in the file.
  if (!StoreLine(c.ws, c.result.accepted + 1, line)) return LineStep::Fail;
  c.host.AddReportLine(std::to_string(slot) + "  " + shown + "  Ok.", false);
  ++c.result.accepted;
  return LineStep::Next;
}

// Returns false when the import ended without its summary.
bool ImportLines(ImportContext& c, LineReader& reader) {
  std::string raw;
  while (!reader.AtEnd()) {
    c.host.ProcessEvents();
    if (c.host.StopRequested()) {
      c.host.CloseReport();
      c.result.stopped = true;
      return false;
    }
    reader.Next(raw);
    if (raw.empty()) continue;
    const LineStep step = TakeLine(c, raw);
    if (step == LineStep::End) break;
    if (step == LineStep::Fail) {
      c.result.failed = true;  // WriteTovar has told the operator
      return false;
    }
  }
  return true;
}

void ImportFile(ImportContext& c, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    c.result.failed = true;
    c.ws.prompts.Error("Не удалось открыть файл " + path);
    return;
  }
  c.result.looksUtf8 = LooksLikeUtf8(ReadSample(in));
  if (c.result.looksUtf8) c.host.AddReportLine(std::string(kImportUtf8Note), false);
  LineReader reader(in);
  if (!ImportLines(c, reader)) return;
  if (reader.Failed()) {
    c.result.failed = true;
    c.ws.prompts.Error("Ошибка чтения файла " + path);
    return;
  }
  in.close();
  c.host.AddReportLine("", false);
  c.host.AddReportLine("", false);
  c.host.AddReportLine(std::to_string(c.result.errors) + " ошибок", true);
}

// Everything that may throw runs inside the try, so the guard has put the
// main window back before the error is shown.
void StartAndImport(Workspace& ws, ImportHost& host, const std::string& path,
                    TextImportResult& result) {
  if (!ShowCheckedRange(ws)) {
    result.failed = true;
    return;
  }
  ImportContext context{ws, host, ws.range.CurrentRecord, ws.range.LastRecord, result};
  host.ShowReport("Импорт данных из файла  " + path);
  ImportRunning running(host, ws.run);
  ImportFile(context, path);
}

}  // namespace

TextImportResult RunTextImport(Workspace& ws, ImportHost& host, const std::string& path) {
  TextImportResult result;
  try {
    StartAndImport(ws, host, path, result);
  } catch (const std::exception& e) {
    result.failed = true;
    ws.prompts.Error(std::string("Импорт прерван из-за ошибки: ") + e.what());
  } catch (...) {
    result.failed = true;
    ws.prompts.Error("Импорт прерван из-за ошибки");
  }
  return result;
}

}  // namespace zel
