// The codes a client reads with `GetBaseError`, their message tables, and
// the question asked when the window closes while clients are connected.
#pragma once

#include <array>
#include <string_view>

namespace zel {

/// Outcome codes of the server members.
enum ServerCode : int {
  kCodeOk = 0,
  kCodeBusy = 1,       ///< an exchange runs
  kCodeAvailable = 2,  ///< names `BaseStatus` 2; never set
  kCodeBadRange = 3,
  kCodeLinkFailure = 4,  ///< a device command failed
  kCodeBadZhrmNumber = 5,
  kCodeBadSection = 6,
  kCodeBadPrice = 7,
  kCodeEndOfTable = 8,
  kCodeBadRangeStart = 9,   ///< never set
  kCodeBadDeviceType = 10,  ///< never set
  kCodeBadKkmNumber = 11,   ///< never set
  kCodeBadRemoteBase = 12,  ///< type refused, or no such channel
  kCodeNoSuchSlot = 13,
  kCodeNumberOutsideBase = 14,
  kCodeBadScalesFlag = 15,
  kCodeBadProductGroup = 16,
};

/// Texts of codes 0..13 for clients that show `GetBaseError`; the server
/// itself never shows them. Codes 14..16 have none.
inline constexpr std::array<std::string_view, 14> ServerMessages = {
    "O.K.",
    "Сервер недоступен (не завершен обмен по RS)",
    "Сервер доступен",
    "Неверный диапазон базы",
    "Сбой последовательного интерфейса",
    "Неверный номер ЖРМ",
    "Неверный номер отдела",
    "Неверный формат цены",
    "Достигнут конец таблицы",
    "Неверное начальное значение базы",
    "Неверный тип прибора",
    "Неверный номер ККМ",
    "Неверное значение удаленной базы",
    "Несуществующий слот КЛ",
};

/// The four field messages of the import report.
inline constexpr std::array<std::string_view, 4> ImportMessages = {
    "Неверное наименование",
    "Неверный формат цены",
    "Неверный отдел",
    "Неверный штрих-код",
};

/// The text of `code`, empty for a code without one.
constexpr std::string_view ServerMessage(int code) {
  return code >= 0 && code < static_cast<int>(ServerMessages.size()) ? ServerMessages[code] : "";
}

/// Caption of the question asked when the main window closes while clients
/// are connected (Yes/No, "No" the default).
inline constexpr std::string_view kComServerWarningCaption = "COM Server Warning";
/// Its text; a client may still hold objects when the window closes.
inline constexpr std::string_view kComServerWarningText =
    "There are still active COM objects in this application.  One or more clients may have "
    "references to these objects, so manually closing "
    "this application may cause those client application(s) to fail.\n\n"
    "Are you sure you want to close this application?";

}  // namespace zel
