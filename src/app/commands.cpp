#include "app/commands.h"

#include <stdexcept>

namespace zel {
namespace {

using C = Command;
using S = QStyle;

constexpr CommandInfo kCommands[] = {
    {C::ReadBase, "Чтение содержимого активной базы", "Чтение активной базы", S::SP_ArrowDown,
     false},
    {C::WriteBase, "Запись в активную базу ", "Запись активной базы", S::SP_ArrowUp, false},
    {C::ResetAccounting, "Обнуление товароучета активной базы", "Сброс данных товароучета",
     S::SP_DialogResetButton, false},
    {C::ReadAccounting, "Чтение товароучета активной базы", "Чтение данных товароучета",
     S::SP_FileDialogDetailedView, false},
    {C::BarcodeEntry, "Ввод штрих-кода", "Чтение последнего штрихового кода",
     S::SP_FileDialogContentsView, false},
    {C::Export, "Экспорт содержимого таблицы", "Экспорт данных в файл", S::SP_DialogSaveButton,
     false},
    {C::Import, "Импортировать данные из файла", "Импорт данных из файла", S::SP_DialogOpenButton,
     false},
    {C::PortSettings, "Конфигурация COM порта", "Настройка последовательного интерфейса",
     S::SP_ComputerIcon, false},
    {C::ClearTable, "Очистить таблицу", "Очистка таблицы базы товаров", S::SP_TrashIcon, false},
    {C::HelpContents, "Помощь", "Содержание", S::SP_DialogHelpButton, false},
    {C::Exit, "Выход", "Выход", S::SP_DialogCloseButton, false},
    {C::SaveTapeBlocks, nullptr, "Сохранить информацию о блоках контрольных лент",
     S::SP_DialogSaveButton, true},
    {C::SaveTape, nullptr, "Сохранить информацию о контролной ленте", S::SP_DialogSaveButton, true},
    {C::RestoreBase, nullptr, "Восстановить базу из копии…", S::SP_BrowserReload, false},
    {C::ReadTapeBlocks, nullptr, "Читать информацию о блоках КЛ", S::SP_FileDialogListView, true},
    {C::ReadTape, nullptr, "Читать выбранную контрольну ленту", S::SP_FileDialogContentsView, true},
    {C::TapeReminder, nullptr, "Напоминание перед чтением КЛ", S::SP_MessageBoxInformation, true},
    {C::ClearTapeBlock, nullptr, "Очистить блок контрольных лент", S::SP_TrashIcon, true},
    {C::About, nullptr, "О программе", S::SP_MessageBoxInformation, false},
};

}  // namespace

std::span<const CommandInfo> CommandTable() {
  return kCommands;
}

const CommandInfo& InfoOf(Command command) {
  for (const CommandInfo& info : kCommands) {
    if (info.command == command) return info;
  }
  throw std::logic_error("command missing from the command table");
}

std::vector<Command> ToolbarCommands() {
  std::vector<Command> out;
  for (const CommandInfo& info : kCommands) {
    if (info.hint) out.push_back(info.command);
  }
  return out;
}

const std::vector<MenuInfo>& MenuTable() {
  static const std::vector<MenuInfo> menus = {
      {"Файл",
       {C::Import, C::Export, std::nullopt, C::SaveTapeBlocks, C::SaveTape, C::RestoreBase,
        std::nullopt, C::Exit},
       true},
      {"Действия",
       {C::PortSettings, std::nullopt, C::ReadBase, C::WriteBase, C::ReadAccounting,
        C::ResetAccounting, std::nullopt, C::BarcodeEntry, C::ClearTable},
       true},
      {"ЖРМ3",
       {C::ReadTapeBlocks, C::ReadTape, std::nullopt, C::TapeReminder, std::nullopt,
        C::ClearTapeBlock},
       true},
      {"Справка", {C::HelpContents, C::About}, false},
  };
  return menus;
}

}  // namespace zel
