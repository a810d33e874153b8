// Ctrl-C (SIGINT) and SIGTERM ask the running operation to stop, as the
// window's "Стоп" button does; a second signal ends the program at once.
#pragma once

namespace zel::cli {

/// Installs the handlers; call once at start.
void InstallInterruptHandler();
/// A stop was asked for since the last ClearInterrupt().
bool InterruptRequested();
void ClearInterrupt();

}  // namespace zel::cli
