// The commands of the main window: their toolbar hints, menu captions and
// glyphs, the order of the toolbar and of the four menus. What each command
// runs is decided in one place, TFSHK1::Run (fshk1_commands.cpp).
#pragma once

#include <QStyle>
#include <optional>
#include <span>
#include <vector>

namespace zel {

enum class Command {
  ReadBase,         ///< read the active base from the device
  WriteBase,        ///< write the table into the device
  ResetAccounting,  ///< reset the sales accounting
  ReadAccounting,   ///< read the sales accounting
  BarcodeEntry,     ///< barcode entry and last-barcode lookup
  Export,
  Import,
  PortSettings,  ///< the COM port dialog
  ClearTable,
  HelpContents,
  Exit,
  SaveTapeBlocks,  ///< save the control-tape block list
  SaveTape,        ///< save the control-tape contents
  RestoreBase,     ///< put a kept copy of the base file back
  ReadTapeBlocks,
  ReadTape,
  TapeReminder,  ///< tick or untick the reminder before reading a tape
  ClearTapeBlock,
  About,
};

struct CommandInfo {
  Command command;
  const char* hint;     ///< toolbar hint; null: no toolbar button
  const char* caption;  ///< menu item
  QStyle::StandardPixmap glyph;
  bool controlTapes;  ///< on only while the active type keeps control tapes
};

/// Every command, toolbar buttons first in their order.
std::span<const CommandInfo> CommandTable();
/// The entry of a command.
const CommandInfo& InfoOf(Command command);
/// The eleven toolbar buttons, left to right.
std::vector<Command> ToolbarCommands();

struct MenuInfo {
  const char* title;
  std::vector<std::optional<Command>> items;  ///< nullopt: a separator
  bool followsOperations;                     ///< disabled while an operation runs
};

/// "Файл", "Действия", "ЖРМ3", "Справка" with their items in order.
const std::vector<MenuInfo>& MenuTable();

}  // namespace zel
