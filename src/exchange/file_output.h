// Writing a finished exchange file in one go, with the messages the export
// and control-tape commands show when it goes wrong.
#pragma once

#include <string>
#include <string_view>

#include "common/prompts.h"

namespace zel {

/// What the operator is told when the file cannot be created.
enum class CreateFailureReport {
  AskToUnprotect,  ///< text files: "Не удалось открыть файл … - Снимите защиту от записи!"
  GeneralError,    ///< ZEL_Base: an error box naming the file and the cause
};

/// "Не удалось открыть файл " + name + " - Снимите защиту от записи!".
std::string CannotOpenMessage(std::string_view fileName);

/// Creates `path` (an existing file is emptied) and writes `bytes`. False
/// after telling the operator: when the file cannot be created (nothing is
/// written) or a write fails (what was written stays).
bool WriteExchangeFile(const std::string& path, std::string_view bytes,
                       CreateFailureReport onCreateFailure, Prompts& prompts);

}  // namespace zel
