// TTovarNumberForm "Номер товара": the small always-on-top popup that shows
// the product number typed with Ctrl held. The table's keyboard handling
// places, fills, shows and hides it.
#pragma once

#include <QWidget>

class QLineEdit;

namespace zel {

class TTovarNumberForm final : public QWidget {
 public:
  explicit TTovarNumberForm(QWidget* parent = nullptr);

  /// Edit1, 121 x 21.
  QLineEdit* Edit1() const { return edit_; }
  void SetText(const std::string& text);

 private:
  QLineEdit* edit_;
};

}  // namespace zel
