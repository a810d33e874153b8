#include "exchange/tape_save.h"

#include "exchange/file_output.h"

namespace zel {
namespace {

// Completes and remembers the name; empty when the filter is unknown.
std::string ChosenPath(FileDialogState& dialog, const std::string& chosenName, int filterIndex) {
  const std::string ext = dialog.ExtOf(filterIndex);
  if (ext.empty()) return {};
  dialog.fileName = CompleteFileName(chosenName, ext);
  dialog.filterIndex = filterIndex;
  return dialog.fileName;
}

bool Write(const std::string& path, const std::string& bytes, Prompts& prompts) {
  return WriteExchangeFile(path, bytes, CreateFailureReport::AskToUnprotect, prompts);
}

}  // namespace

bool SaveBlockList(FileDialogState& dialog, const std::string& chosenName, int filterIndex,
                   std::span<const TapeBlockRow> blocks, Prompts& prompts) {
  const std::string path = ChosenPath(dialog, chosenName, filterIndex);
  if (path.empty()) return false;
  const bool csv = filterIndex == static_cast<int>(TapeFileFormat::Csv);
  return Write(path, csv ? BlockListCsv(blocks) : BlockListText(blocks), prompts);
}

bool SaveTapeContents(FileDialogState& dialog, const std::string& chosenName, int filterIndex,
                      const TapeBlockRow& selected, std::span<const TapeSaleRow> sales,
                      Prompts& prompts) {
  const std::string path = ChosenPath(dialog, chosenName, filterIndex);
  if (path.empty()) return false;
  const bool csv = filterIndex == static_cast<int>(TapeFileFormat::Csv);
  return Write(path, csv ? TapeContentsCsv(selected, sales) : TapeContentsText(selected, sales),
               prompts);
}

}  // namespace zel
