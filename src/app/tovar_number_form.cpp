#include "app/tovar_number_form.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/window_placement.h"

namespace zel {

TTovarNumberForm::TTovarNumberForm(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      edit_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Номер товара"));
  // The focus stays in the table while digits are typed.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  edit_->setFocusPolicy(Qt::NoFocus);
  edit_->setReadOnly(true);
  edit_->setFixedHeight(21);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_);
  setFixedSize(std::max(121, CaptionWidth(*this)), 21);
}

void TTovarNumberForm::SetText(const std::string& text) {
  edit_->setText(QString::fromStdString(text));
}

}  // namespace zel
