#include "app/tovar_number_form.h"

#include <QLineEdit>
#include <QVBoxLayout>

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
  edit_->setFixedSize(121, 21);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_);
  setFixedSize(121, 21);
}

void TTovarNumberForm::SetText(const std::string& text) {
  edit_->setText(QString::fromStdString(text));
}

}  // namespace zel
