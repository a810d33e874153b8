// tapes list, tapes read K, tapes save-list FILE, tapes save K FILE, tapes clear.
#include <vector>

#include "cli/commands.h"
#include "cli/text_columns.h"
#include "exchange/tape_save.h"
#include "operations/control_tapes.h"

namespace zel::cli {
namespace {

bool IsSave(Command c) {
  return c == Command::TapesSaveList || c == Command::TapesSave;
}

int CheckTapeDevice(Session& s) {
  if (!CheckDevice(s)) return kExitUsage;
  if (s.ws.device.controlTapesOn) return kExitOk;
  s.console.Note(
      "zelbase-cli: control tapes are kept by ЖРМ 3, ЖРМ 3+ and ЖРМ 200 only; the "
      "active device is " +
      s.ws.device.typeText);
  return kExitUsage;
}

int ListBlocks(Session& s, TapeTables& tapes) {
  const OperationWatch watch(s);
  ListTapeBlocks(s.ws, tapes);
  return watch.ExitCode();
}

// Reads the purchases of block k of the listing.
int ReadBlock(Session& s, TapeTables& tapes, int k) {
  if (k > static_cast<int>(tapes.blocks.size())) {
    s.console.Note("zelbase-cli: block " + std::to_string(k) + " is not in the list of " +
                   std::to_string(tapes.blocks.size()) + " blocks");
    return kExitUsage;
  }
  tapes.ChooseBlock(k);
  NoticeReminder reminder(s.console);
  const OperationWatch watch(s);
  ReadChosenTape(s.ws, tapes, reminder);
  return watch.ExitCode();
}

void PrintBlocks(Session& s, const TapeTables& tapes) {
  std::vector<TextRow> rows = {{"КЛ", "Номер КЛ", "Дата вывода", "Кол-во покупок"}};
  for (std::size_t k = 0; k < tapes.blocks.size(); ++k) {
    const auto& b = tapes.blocks[k];
    rows.push_back({std::to_string(k + 1), b[1], b[2], b[3]});
  }
  for (const std::string& line : AlignColumns(rows)) s.console.Out(line);
}

void PrintPurchases(Session& s, const TapeTables& tapes) {
  std::vector<TextRow> rows = {
      {"№ в базе", "Наименование", "Стоимость", "Количество", "Прод/Возвр"}};
  for (const auto& p : tapes.purchases) rows.push_back({p[0], p[1], p[2], p[3], p[4]});
  for (const std::string& line : AlignColumns(rows)) s.console.Out(line);
}

// "tapes list": the rows listed before a failure stay, and the failure's
// message follows them.
int ListAndPrint(Session& s, TapeTables& tapes) {
  struct NotesAfterRows {
    Console& console;
    ~NotesAfterRows() { console.ReleaseNotes(); }
  } notes{s.console};
  s.console.HoldNotes();
  const int code = ListBlocks(s, tapes);
  if (code == kExitOk || !tapes.blocks.empty()) PrintBlocks(s, tapes);
  return code;
}

TapeBlockRow BlockRow(const TapeTables& tapes, int k) {
  const auto& b = tapes.blocks[static_cast<std::size_t>(k - 1)];
  return {b[1], b[2], b[3]};
}

int Save(Session& s, const CliArgs& args, const TapeTables& tapes, const std::string& format) {
  FileDialogState dialog = TapeSaveDialog();
  const int filter = FilterIndexOf(dialog, format);
  const OperationWatch watch(s);
  bool ok = false;
  if (args.command == Command::TapesSaveList) {
    std::vector<TapeBlockRow> rows;
    for (int k = 1; k <= static_cast<int>(tapes.blocks.size()); ++k)
      rows.push_back(BlockRow(tapes, k));
    ok = SaveBlockList(dialog, args.file, filter, rows, s.prompts);
  } else {
    std::vector<TapeSaleRow> sales;
    for (const auto& p : tapes.purchases) sales.push_back({p[0], p[1], p[2], p[3]});
    ok = SaveTapeContents(dialog, args.file, filter, BlockRow(tapes, args.block), sales, s.prompts);
  }
  NoteWrittenName(s, args.file, dialog.fileName);
  return watch.ExitCode(ok);
}

int ClearTapes(Session& s, const CliArgs& args) {
  if (args.yes) s.prompts.ConsentYesNo(true);
  TapeTables tapes;
  const OperationWatch watch(s);
  EraseTapes(s.ws, tapes);
  return watch.ExitCode();
}

}  // namespace

int RunTapes(Session& s, const CliArgs& args) {
  if (const int code = CheckTapeDevice(s); code != kExitOk) return code;
  if (args.command == Command::TapesClear) return ClearTapes(s, args);
  const std::string format = IsSave(args.command) ? ChosenFormat(args, {"csv", "txt"}) : "";
  if (IsSave(args.command) && format.empty()) {
    s.console.Note("zelbase-cli: saving needs --format csv or txt, or a file ending in one");
    return kExitUsage;
  }
  TapeTables tapes;
  if (args.command == Command::TapesList) return ListAndPrint(s, tapes);
  if (const int code = ListBlocks(s, tapes); code != kExitOk) return code;
  if (args.command == Command::TapesSaveList) return Save(s, args, tapes, format);
  if (const int code = ReadBlock(s, tapes, args.block); code != kExitOk) return code;
  if (args.command == Command::TapesRead) {
    PrintPurchases(s, tapes);
    return kExitOk;
  }
  return Save(s, args, tapes, format);
}

}  // namespace zel::cli
