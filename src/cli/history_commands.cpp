// history, restore and diff: the copies Base/history keeps of the active base file.
#include "base/history_ops.h"
#include "cli/commands.h"
#include "cli/text_columns.h"

namespace zel::cli {
namespace {

// The copy named on the command line, among the active channel's.
bool FindCopy(Session& s, const std::string& name, BaseCopy& copy) {
  copy = FindBaseCopy(s.ws.folder, ChannelOfBaseFile(s.ws.device.baseFileName), name);
  if (!copy.path.empty()) return true;
  s.console.Note("zelbase-cli: " + s.ws.device.baseFileName + " has no copy " + name +
                 " (zelbase-cli history lists them)");
  return false;
}

}  // namespace

int RunHistory(Session& s) {
  std::vector<TextRow> rows = {{"Копия", "Операция", "Дата и время", "Отличий"}};
  for (const ListedCopy& c : ListActiveBaseCopies(s.ws)) {
    rows.push_back(
        {c.copy.path.filename().string(), OperationCaption(c.copy.operation), c.copy.ShownTime(),
         c.copy.Usable() ? std::to_string(c.changedProducts) : "не годится: " + c.copy.problem});
  }
  PrintRows(s.console, rows);
  return kExitOk;
}

int RunRestore(Session& s, const CliArgs& args) {
  BaseCopy copy;
  if (!FindCopy(s, args.file, copy)) return kExitUsage;
  if (args.yes) s.prompts.ConsentYesNo(true);
  const OperationWatch watch(s);
  return watch.ExitCode(RestoreBaseCopy(s.ws, copy));
}

int RunDiff(Session& s, const CliArgs& args) {
  BaseCopy copy;
  if (!FindCopy(s, args.file, copy)) return kExitUsage;
  std::string error;
  const std::vector<ProductChange> changes =
      DiffBaseFiles(copy.path, s.ws.folder.PathOf(s.ws.device.baseFileName), error);
  if (!error.empty()) {
    s.console.Note("zelbase-cli: " + error);
    return kExitFailure;
  }
  std::vector<TextRow> rows = {{"Товар", "Поле", "В копии", "Сейчас"}};
  for (const ProductChange& c : changes) {
    rows.push_back({std::to_string(c.number), c.field, c.before, c.after});
  }
  PrintRows(s.console, rows);
  return kExitOk;
}

}  // namespace zel::cli
