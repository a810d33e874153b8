// Making the active channel the main window's device (`SelectZhrm`) and
// checking its numbers and type before every device operation (`Set_Zhrm`).
#pragma once

#include "base/workspace.h"

namespace zel {

/// Copies the active channel into the active-base box, applies its type
/// (line profile, columns, capacity clamp, control tapes, "Блокировка ККМ")
/// and loads the range of its base file. A type that names no family
/// changes none of the type's settings.
void SelectZhrm(Workspace& ws);

/// Checks and completes the active ЖРМ and ККМ numbers and the type, and
/// derives the wire addresses. False after one of the messages "Неверный
/// номер ЖРМ !!!", "Неверный номер ККМ !!!", "Неверная версия ЖРМ !!!".
/// Then shows a speed or parity problem of the port not shown yet.
bool Set_Zhrm(Workspace& ws);

/// The automation server selects channel n: false when n is not 1..16 or
/// the channel is switched off; otherwise it becomes active and is loaded.
bool ActivateChannelForServer(Workspace& ws, int n);

}  // namespace zel
