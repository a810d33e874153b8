// Control tapes of the ЖРМ 3 family: listing the blocks, reading the chosen
// tape with the product table's names and prices, erasing the tapes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/workspace.h"

namespace zel {

/// Reminder modes of the window "Внимание" (kept in the settings).
inline constexpr int kRemindAlways = 1;
inline constexpr int kRemindNever = 2;
inline constexpr int kReadBaseWithoutReminder = 3;

/// The reminder window before a tape read. `mode` is its choice, kept
/// between showings; true only when it was closed with "Ok".
class TapeReminder {
 public:
  virtual ~TapeReminder() = default;
  virtual bool Show(int& mode) = 0;
};

/// The two tape tables of the main window, header rows excluded.
struct TapeTables {
  /// " Выбор", " Номер КЛ", " Дата вывода", " Кол-во покупок"; row k is block k.
  std::vector<std::array<std::string, 4>> blocks;
  /// "№ в базе", "Наименование", "Стоимость", "Количество", "Прод/Возвр".
  std::vector<std::array<std::string, 5>> purchases;
  bool blocksHeaderFixed = false;
  bool purchasesHeaderFixed = false;

  /// Marks block row r (1..) as chosen with "***"; row 0 or beyond does nothing.
  void ChooseBlock(int row);
  /// The first row marked "***", 0 when none.
  int ChosenBlock() const;
};

/// "Читать информацию о блоках КЛ".
void ListTapeBlocks(Workspace& ws, TapeTables& tapes);
/// "Читать выбранную контрольну ленту".
void ReadChosenTape(Workspace& ws, TapeTables& tapes, TapeReminder& reminder);
/// "Очистить блок контрольных лент".
void EraseTapes(Workspace& ws, TapeTables& tapes);

/// The whole base read before a tape; false when stopped or failed.
bool ReadWholeBaseForTape(Workspace& ws);

}  // namespace zel
