// Qt's own texts (file dialogs, standard buttons, context menus) in Russian,
// as the program's are, whatever the user's locale.
#pragma once

class QCoreApplication;

namespace zel {

/// Installs Qt's Russian translation on `app`; false when it is not
/// installed on this system (Qt's texts then stay English).
bool InstallQtRussian(QCoreApplication& app);

}  // namespace zel
