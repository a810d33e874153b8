#include "base/history_ops.h"

#include <ctime>
#include <utility>

#include "base/base_ops.h"

namespace zel {

bool KeepBaseBeforeChange(Workspace& ws, const char* operation) {
  std::string error;
  if (KeepBaseCopy(ws.folder, ws.device.baseFileName, operation, std::time(nullptr), error)) {
    return true;
  }
  ws.prompts.Error(error + "\rБаза не изменена.");
  return false;
}

std::string OperationCaption(const std::string& operation) {
  static const std::pair<const char*, const char*> captions[] = {
      {kCopyRead, "чтение базы"},        {kCopyAccounting, "чтение товароучета"},
      {kCopyReset, "сброс товароучета"}, {kCopyClear, "очистка таблицы"},
      {kCopyImport, "импорт"},           {kCopyServer, "обмен сервера"},
      {kCopyRestore, "восстановление"},
  };
  for (const auto& [word, caption] : captions) {
    if (operation == word) return caption;
  }
  return operation;
}

std::vector<ListedCopy> ListActiveBaseCopies(Workspace& ws) {
  const std::filesystem::path current = ws.folder.PathOf(ws.device.baseFileName);
  std::vector<ListedCopy> listed;
  for (BaseCopy& c : ListBaseCopies(ws.folder, ChannelOfBaseFile(ws.device.baseFileName))) {
    const int changed = c.Usable() ? CountChangedProducts(c.path, current) : -1;
    listed.push_back({std::move(c), changed});
  }
  return listed;
}

bool RestoreBaseCopy(Workspace& ws, const BaseCopy& copy) {
  if (!copy.Usable()) {
    ws.prompts.Error("Копия " + copy.path.filename().string() +
                     " не может быть восстановлена: " + copy.problem);
    return false;
  }
  if (!ws.prompts.AskYesNo("Восстановить базу из копии от " + copy.ShownTime() + "?")) {
    return false;
  }
  std::string error;
  if (!RestoreBaseFile(ws.folder, copy, ws.device.baseFileName, std::time(nullptr), error)) {
    ws.prompts.Error(error + "\rБаза не изменена.");
    return false;
  }
  LoadBaseFile(ws);
  return true;
}

}  // namespace zel
