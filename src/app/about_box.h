// TAboutBox "О программе": the program's icon, name and version.
#pragma once

#include <QDialog>

namespace zel {

class TAboutBox final : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace zel
