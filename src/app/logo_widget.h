// The program's logo: a drawn product label with barcode bars and "ZEL".
#pragma once

#include <QWidget>

namespace zel {

class LogoWidget final : public QWidget {
 public:
  explicit LogoWidget(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {112, 64}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace zel
