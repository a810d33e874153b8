// The two control-tape save commands of the "Файл" menu. Each keeps its own
// dialog (`TapeSaveDialog()`), so each remembers its own file name.
#pragma once

#include <span>
#include <string>

#include "common/prompts.h"
#include "exchange/file_dialogs.h"
#include "exchange/tape_files.h"

namespace zel {

/// The file types of a control-tape save dialog, in its filter order.
enum class TapeFileFormat { Csv = 0, Text = 1 };

/// "Сохранить информацию о блоках контрольных лент": completes the chosen
/// name for filter `filterIndex` (0-based), keeps it in `dialog` and writes
/// the block list. False after telling the operator why nothing (or not
/// all) was written.
bool SaveBlockList(FileDialogState& dialog, const std::string& chosenName, int filterIndex,
                   std::span<const TapeBlockRow> blocks, Prompts& prompts);

/// "Сохранить информацию о контролной ленте": as above for the tape read
/// last, headed by the data of its block row `selected`.
bool SaveTapeContents(FileDialogState& dialog, const std::string& chosenName, int filterIndex,
                      const TapeBlockRow& selected, std::span<const TapeSaleRow> sales,
                      Prompts& prompts);

}  // namespace zel
