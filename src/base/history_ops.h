// Copies of the active base file for the window, the server and zelbase-cli:
// one rule for when a copy is kept and how one is brought back.
#pragma once

#include <vector>

#include "base/base_history.h"
#include "base/workspace.h"

namespace zel {

/// Keeps the active base file before an operation replaces its records.
/// False after the error box: the operation must not start (nothing changed).
bool KeepBaseBeforeChange(Workspace& ws, const char* operation);

struct ListedCopy {
  BaseCopy copy;
  int changedProducts = -1;  ///< against the current file; -1 for an unusable copy
};

/// The operation word of a copy's name as the window and zelbase-cli show it.
std::string OperationCaption(const std::string& operation);

/// The active channel's copies, newest first, unusable ones included.
std::vector<ListedCopy> ListActiveBaseCopies(Workspace& ws);

/// "Восстановить базу из копии от …?": on Yes the current file is kept as a
/// copy, the chosen one put in its place and the table reloaded. Nothing is
/// sent to a device. True when restored.
bool RestoreBaseCopy(Workspace& ws, const BaseCopy& copy);

}  // namespace zel
