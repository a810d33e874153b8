// A whole text file through the import command, the report included. Holds:
// the import ends with its summary, every non-empty line is reported once
// ("Ok." for a line stored, "Ошибка" for one rejected), accepted lines fill
// rows 1.. and their products in order and nothing else of the base file
// changes, and the main window is enabled and idle again afterwards.
#include "exchange/text_import.h"
#include "fuzz_import.h"

using namespace zel;
using namespace zel::fuzz;

namespace {

bool StartsWith(std::string_view s, std::string_view p) {
  return s.substr(0, p.size()) == p;
}
bool EndsWith(std::string_view s, std::string_view p) {
  return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

// The report: an optional encoding note, one line per non-empty file line
// (until the end of the table), the end-of-table line, two blank lines and
// "N ошибок".
void CheckReport(const std::vector<std::string>& lines, const TextImportResult& r, int first) {
  std::size_t at = r.looksUtf8 ? 1 : 0;
  if (r.looksUtf8 && lines.at(0) != kImportUtf8Note) Broken("the encoding note is not first");
  int accepted = 0;
  int errors = 0;
  for (; at < lines.size(); ++at) {
    const std::string& l = lines[at];
    if (StartsWith(l, "?   ") && l.find("  Ошибка - ") != std::string::npos) {
      ++errors;
    } else if (StartsWith(l, std::to_string(first + accepted) + "  ") && EndsWith(l, "  Ok.")) {
      ++accepted;
    } else {
      break;
    }
  }
  if (accepted != r.accepted || errors != r.errors) Broken("the report miscounts its lines");
  if (r.reachedEnd && lines.at(at++) != "Достигнут конец таблицы") Broken("no end-of-table line");
  const std::vector<std::string> tail = {"", "", std::to_string(r.errors) + " ошибок"};
  if (lines.size() != at + 3 || !std::equal(tail.begin(), tail.end(), lines.begin() + at)) {
    Broken("the report does not end with its summary");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static ImportBench bench;
  const std::optional<ImportStart> start = StartImport(bench, data, size);
  if (!start) return 0;
  Workspace& ws = bench.fw.ws;
  const auto& [before, first, last] = *start;
  const TextImportResult r = RunTextImport(ws, bench.host, bench.FilePath().string());
  if (r.failed || r.stopped || bench.fw.prompts.errors != 0) Broken("the import did not end");
  if (!bench.host.mainWindowEnabled || ws.run.exchangeState != ExchangeState::Idle) {
    Broken("the main window was left disabled or busy");
  }
  if (r.accepted > last - first + 1) Broken("more lines accepted than the range holds");
  CheckReport(bench.host.lines, r, first);
  if (r.accepted > 0) {
    SameOutside(before, ReadBytes(bench.BasePath()), first, first + r.accepted - 1);
    StoredAsShown(ws, first, first + r.accepted - 1);
  } else if (ReadBytes(bench.BasePath()) != before) {
    Broken("a file without accepted lines changed the base file");
  }
  return 0;
}
